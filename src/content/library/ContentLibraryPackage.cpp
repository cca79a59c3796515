#include "content/library/ContentLibraryPackage.h"

#include "content/ContentModelMutex.h"
#include "content/PolicyBase.h"
#include "content/library/ContentLibraryFolder.h"

ContentLibraryPackage::ContentLibraryPackage(const PolicyBase* policy)
    : ContentLibraryContainerFolder(policy) {}

std::unique_ptr<ContentLibraryLocalFolder> ContentLibraryPackage::NewChild() {
    return std::make_unique<ContentLibraryFolder>(Policy()->ChildPolicy(this, 0));
}

void ContentLibraryPackage::Scan() {
    ScanChildren();
    LoadConfig();
}

bool ContentLibraryPackage::AddFolder(const QString& name, int address, IFeedback* feedback) {
    return AddChildFolder(name, address, feedback);
}

bool ContentLibraryPackage::Remove(ContentBase* child, IFeedback* feedback) {
    return RemoveChildFolder(child, feedback);
}

bool ContentLibraryPackage::Move(ContentBase* item, IFeedback* feedback) {
    const ContentModelLock lock;
    auto* folder = qobject_cast<ContentLibraryFolder*>(item);
    auto* from = folder ? qobject_cast<ContentLibraryPackage*>(folder->Parent()) : nullptr;
    if (!from || from == this || ChildrenReadOnly() || from->ChildrenReadOnly() ||
        HasChild(folder->Name(), folder->Address())) {
        return false;
    }
    const QString oldPath = folder->DirPath();
    const QString dirName = QDir(oldPath).dirName();
    const QString newPath = ChildPath(dirName);
    if (QDir(newPath).exists() || !QDir().rename(oldPath, newPath)) {
        return Refuse(feedback, "Can't move folder");
    }
    std::unique_ptr<ContentBase> taken = from->TakeChild(folder);
    emit from->FolderRemoved(from, folder);
    from->SaveConfig(false);
    AppendChild(std::move(taken));
    emit FolderAdded(this, folder);
    SaveConfig(false);
    return Succeed(feedback);
}
