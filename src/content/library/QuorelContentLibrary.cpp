#include "content/library/QuorelContentLibrary.h"

#include "archive/ArchivePath.h"
#include "archive/CustomFileSystemEngineHandler.h"
#include "content/NamedPolicies.h"
#include "content/PolicyBase.h"
#include "os/NamedFolders.h"

#include <QFileInfo>

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
