#include "content/library/QuorelContentLibrary.h"

#include "archive/ArchivePath.h"
#include "archive/CustomFileSystemEngineHandler.h"
#include "content/ContentModelMutex.h"
#include "content/NamedPolicies.h"
#include "content/PolicyBase.h"
#include "os/NamedFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

std::unique_ptr<ContentLibraryLocalFolder> QuorelContentLibraryPackage::NewChild() {
    return std::make_unique<QuorelContentLibraryFolder>(Policy()->ChildPolicy(this, 0));
}

MarqaQuorelContentLibraryPackage::MarqaQuorelContentLibraryPackage()
    : QuorelContentLibraryPackage(&NamedPolicies::MarqaQuorelContentPackage()) {}

SolviQuorelContentLibraryPackage::SolviQuorelContentLibraryPackage()
    : QuorelContentLibraryPackage(&NamedPolicies::SolviQuorelContentPackage()) {}

QuorelContentLibraryPackageFile::QuorelContentLibraryPackageFile(const QString& path,
                                                                 const PolicyBase* policy)
    : QuorelContentLibraryPackage(policy) {
    SetName(QFileInfo(ArchivePath::Split(path).ArchiveFile()).completeBaseName());
    SetDirPath(path);
}

std::unique_ptr<ContentLibraryLocalFolder> QuorelContentLibraryPackageFile::NewChild() {
    return std::make_unique<QuorelContentLibraryPackageFolder>(Policy()->ChildPolicy(this, 0));
}

QuorelContentLibraryPackageDestinationFile::QuorelContentLibraryPackageDestinationFile(
    const QString& archiveFile, const PolicyBase* policy)
    : QuorelContentLibraryPackageFile(archiveFile, policy) {
    const ArchiveWriterEnabler writing;
    m_writer = CustomFileSystemEngineHandler::create(archiveFile + '/');
}

QuorelContentLibraryPackageDestinationFile::~QuorelContentLibraryPackageDestinationFile() = default;

QuorelContentLibraryRoot::QuorelContentLibraryRoot(const QString& directory)
    : ContentLibraryRoot(
          "Quorel Content", &NamedPolicies::RootQuorelContent(),
          directory.isEmpty() ? Os::NamedFolders::Path("QuorelContentLibraryRoot") : directory) {
    Open();
}

std::unique_ptr<ContentLibraryLocalFolder> QuorelContentLibraryRoot::NewChild() {
    return std::make_unique<QuorelContentLibraryPackage>(Policy()->ChildPolicy(this, 0));
}

namespace {

QList<const ContentBase*> ChildrenOf(const ContentFolder& folder) {
    QList<const ContentBase*> children;
    for (int i = 0, count = folder.ChildCount(); i < count; ++i) {
        children.append(folder.Child(i));
    }
    return children;
}

// Writes the collage's folders and images below `path`; the reason when something can't be.
QString WriteCollage(const ContentFolder& collage, const QString& path) {
    for (const ContentBase* child : ChildrenOf(collage)) {
        const auto* folder = qobject_cast<const ContentFolder*>(child);
        if (!folder) {
            continue;
        }
        if (const QString problem = ContentLibraryLocalFolder::NameProblem(folder->Name());
            !problem.isEmpty()) {
            return problem;
        }
        const QString folderPath = path + '/' + folder->Name();
        if (!QDir().mkpath(folderPath)) {
            return QStringLiteral("Can't create folder");
        }
        for (const ContentBase* entry : ChildrenOf(*folder)) {
            const auto* item = qobject_cast<const Content*>(entry);
            if (!item) {
                continue;
            }
            if (const QString problem = ContentLibraryLocalFolder::NameProblem(item->Name());
                !problem.isEmpty()) {
                return problem;
            }
            if (const QString problem = item->StoreProblem(); !problem.isEmpty()) {
                return problem;
            }
            std::unique_ptr<Content> copy = item->Clone();
            if (!copy->Save(folderPath + '/' + item->Name() + '.' + item->Suffix())) {
                return QStringLiteral("Can't write file");
            }
        }
    }
    return {};
}

// Gives the read-in collage the addresses and Quorel numbers of the one it was made from.
void Describe(ContentFolder* made, const ContentFolder& from) {
    for (const ContentBase* child : ChildrenOf(from)) {
        for (int i = 0; i < made->ChildCount(); ++i) {
            ContentBase* twin = made->Child(i);
            if (twin->Name() != child->Name()) {
                continue;
            }
            twin->SetAddress(child->Address());
            twin->SetTag(child->Tag());
            const auto* folder = qobject_cast<const ContentFolder*>(child);
            if (auto* madeFolder = qobject_cast<ContentFolder*>(twin); folder && madeFolder) {
                Describe(madeFolder, *folder);
            }
        }
    }
}

}  // namespace

bool QuorelContentLibraryRoot::HasCollage(const QString& name) const {
    const ContentModelLock lock;
    return FindChild(name) || QFileInfo::exists(ChildPath(name));
}

bool QuorelContentLibraryRoot::ImportCollage(const QString& name, const PolicyBase* policy,
                                             const ContentFolder& collage, IFeedback* feedback) {
    // The new collage's objects are made where the library lives.
    if (QThread::currentThread() != thread()) {
        bool imported = false;
        QMetaObject::invokeMethod(
            this, [&] { imported = ImportCollage(name, policy, collage, feedback); },
            Qt::BlockingQueuedConnection);
        return imported;
    }
    const ContentModelLock lock;
    if (const QString problem = NameProblem(name); !problem.isEmpty()) {
        return Refuse(feedback, problem);
    }
    const QString path = ChildPath(name);
    if (HasCollage(name)) {
        return Refuse(feedback, QStringLiteral("There is already a collage with that name."));
    }
    if (!QDir().mkpath(path)) {
        return Refuse(feedback, QStringLiteral("Can't create folder"));
    }
    if (const QString problem = WriteCollage(collage, path); !problem.isEmpty()) {
        QDir(path).removeRecursively();  // nothing half written stays
        return Refuse(feedback, problem);
    }
    auto package = std::make_unique<QuorelContentLibraryPackage>(policy);
    package->SetName(name);
    package->SetDirName(name);
    QuorelContentLibraryPackage* added = package.get();
    AppendChild(std::move(package));
    added->Scan();
    added->HandDownPolicy(policy);
    Describe(added, collage);
    if (!added->SaveConfig(true)) {
        TakeChild(added).reset();
        QDir(path).removeRecursively();
        return Refuse(feedback, QStringLiteral("Can't write file"));
    }
    SaveConfig(false);
    emit FolderAdded(this, added);
    return Succeed(feedback);
}
