#include "content/library/ContentLibraryRoot.h"

#include "content/ContentModelMutex.h"
#include "content/NamedPolicies.h"
#include "content/PolicyBase.h"
#include "content/library/ContentLibraryPackage.h"
#include "os/NamedFolders.h"

ContentLibraryRoot::ContentLibraryRoot(const QString& directory)
    : ContentLibraryRoot(
          "User Content", &NamedPolicies::RootContent(),
          directory.isEmpty() ? Os::NamedFolders::Path("ContentLibraryRoot") : directory) {
    Open();
}

ContentLibraryRoot::ContentLibraryRoot(const QString& name, const PolicyBase* policy,
                                       const QString& directory)
    : ContentLibraryContainerFolder(policy) {
    SetName(name);
    SetDirPath(directory);
}

void ContentLibraryRoot::Open() {
    Scan();
    if (Version() != kVersion) {
        SetDescriptionVersion(QString::number(kVersion));
        SaveConfig(true);
    }
}

int ContentLibraryRoot::Version() const {
    const ContentModelLock lock;
    return m_version;
}

QString ContentLibraryRoot::DescriptionVersion() const {
    return QString::number(kVersion);
}

void ContentLibraryRoot::SetDescriptionVersion(const QString& version) {
    const ContentModelLock lock;
    m_version = version.toInt();
}

std::unique_ptr<ContentLibraryLocalFolder> ContentLibraryRoot::NewChild() {
    return std::make_unique<ContentLibraryPackage>(Policy()->ChildPolicy(this, 0));
}

void ContentLibraryRoot::Scan() {
    ScanChildren();
    LoadConfig();
}

bool ContentLibraryRoot::AddFolder(const QString& name, int address, IFeedback* feedback) {
    return AddChildFolder(name, address, feedback);
}

bool ContentLibraryRoot::Remove(ContentBase* child, IFeedback* feedback) {
    return RemoveChildFolder(child, feedback);
}

bool ContentLibraryRoot::Move(ContentBase* /*item*/, IFeedback* /*feedback*/) {
    return false;
}
