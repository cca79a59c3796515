#include "content/library/ContentLibraryContainerFolder.h"

#include "archive/ArchivePathRouter.h"
#include "content/ContentModelMutex.h"
#include "content/PolicyBase.h"

ContentLibraryContainerFolder::ContentLibraryContainerFolder(const PolicyBase* policy)
    : ContentLibraryLocalFolder(policy) {}

bool ContentLibraryContainerFolder::SetAddress(int /*address*/) {
    return false;
}

bool ContentLibraryContainerFolder::SetTag(quint16 /*tag*/) {
    return false;
}

bool ContentLibraryContainerFolder::AcceptsContent(const Content* /*content*/) const {
    return false;
}

void ContentLibraryContainerFolder::ScanChildren() {
    for (const QString& name : SubDirectories()) {
        std::unique_ptr<ContentLibraryLocalFolder> child = NewChild();
        child->SetName(name);
        child->SetDirName(name);
        ContentLibraryLocalFolder* folder = child.get();
        AppendChild(std::move(child));
        folder->Scan();
    }
}

bool ContentLibraryContainerFolder::AddChildFolder(const QString& name, IFeedback* feedback) {
    const ContentModelLock lock;
    if (ChildrenReadOnly()) {
        return false;
    }
    const QString path = ChildPath(name);
    if (ArchivePathRouter::Exists(path) || !ArchivePathRouter::MakeDirectory(path)) {
        return Refuse(feedback, "Can't create folder");
    }
    if (!ArchivePathRouter::IsArchivePath(path) && !QDir(path).isReadable()) {
        return Refuse(feedback, "Can't change to new folder");
    }
    std::unique_ptr<ContentLibraryLocalFolder> child = NewChild();
    child->SetName(name);
    child->SetDirName(name);
    ContentLibraryLocalFolder* folder = child.get();
    AppendChild(std::move(child));
    emit FolderAdded(this, folder);
    SaveConfig(false);
    return Succeed(feedback);
}

bool ContentLibraryContainerFolder::Rename(ContentBase* child, const QString& name, int address,
                                           IFeedback* feedback) {
    const ContentModelLock lock;
    auto* folder = qobject_cast<ContentLibraryLocalFolder*>(child);
    if (!folder || folder->Parent() != this || child->IsReadOnly()) {
        return false;
    }
    // Checked before the disk changes, so that a refusal leaves directory and tree alike.
    if (HasConflict(child, name, address)) {
        return Refuse(feedback, "New name and/or address conflicts with an existing child");
    }
    const QString oldPath = folder->DirPath();
    const QString newPath = ChildPath(name);
    if (oldPath != newPath && !QDir().rename(oldPath, newPath)) {
        return Refuse(feedback, "Can't rename folder");
    }
    child->SetName(name);
    folder->SetDirName(name);
    SaveConfig(false);
    return Succeed(feedback);
}

bool ContentLibraryContainerFolder::RemoveChildFolder(ContentBase* child, IFeedback* feedback) {
    const ContentModelLock lock;
    auto* folder = qobject_cast<ContentLibraryLocalFolder*>(child);
    if (!folder || folder->Parent() != this || child->IsReadOnly()) {
        return false;
    }
    const QString path = folder->DirPath();
    if (!QDir().rmdir(path)) {
        return Refuse(feedback, "Can't delete folder");
    }
    std::unique_ptr<ContentBase> taken = TakeChild(child);
    emit FolderRemoved(this, folder);
    taken.release()->deleteLater();
    SaveConfig(false);
    return Succeed(feedback);
}
