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

bool ContentLibraryContainerFolder::HasChildDirectory(const QString& name) const {
    return ArchivePathRouter::Exists(ChildPath(name));
}

bool ContentLibraryContainerFolder::AddChildFolder(const QString& name, int address,
                                                   IFeedback* feedback) {
    const ContentModelLock lock;
    if (ChildrenReadOnly()) {
        return false;
    }
    if (const QString problem = NameProblem(name); !problem.isEmpty()) {
        return Refuse(feedback, problem);
    }
    if (!InRange(address)) {
        return Refuse(feedback, "Address out of range");
    }
    for (int i = 0; address != 0 && i < ChildCount(); ++i) {
        if (Child(i)->Address() == address) {
            return Refuse(feedback, "New name and/or address conflicts with an existing child");
        }
    }
    const QString path = ChildPath(name);
    if (HasChildDirectory(name) || !ArchivePathRouter::MakeDirectory(path)) {
        return Refuse(feedback, "Can't create folder");
    }
    if (!ArchivePathRouter::IsArchivePath(path) && !QDir(path).isReadable()) {
        return Refuse(feedback, "Can't change to new folder");
    }
    std::unique_ptr<ContentLibraryLocalFolder> child = NewChild();
    child->SetName(name);
    child->SetDirName(name);
    child->SetAddress(address);  // a package has none
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
    const bool renamed = name != child->Name();
    if (renamed) {
        if (const QString problem = NameProblem(name); !problem.isEmpty()) {
            return Refuse(feedback, problem);
        }
    }
    if (address != child->Address() && !InRange(address)) {
        return Refuse(feedback, "Address out of range");
    }
    if (HasConflict(child, name, address)) {
        return Refuse(feedback, "New name and/or address conflicts with an existing child");
    }
    // A new number alone leaves the directory, whose name may be longer than the display name.
    if (renamed) {
        const QString oldPath = folder->DirPath();
        const QString newPath = ChildPath(name);
        if (oldPath != newPath && !QDir().rename(oldPath, newPath)) {
            return Refuse(feedback, "Can't rename folder");
        }
        child->SetName(name);
        folder->SetDirName(name);
    }
    child->SetAddress(address);
    SaveConfig(false);
    return Succeed(feedback);
}

bool ContentLibraryContainerFolder::InRange(int address) const {
    return address == 0 || (address >= MinAddress() && address <= MaxAddress());
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
