#include "content/library/ContentLibraryFolder.h"

#include "archive/ArchivePathRouter.h"
#include "content/ContentModelMutex.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

#include <QFile>
#include <QFileInfo>

ContentLibraryFolder::ContentLibraryFolder(const PolicyBase* policy)
    : ContentLibraryLocalFolder(policy) {}

bool ContentLibraryFolder::IsReadOnly() const {
    const ContentModelLock lock;
    const ContentFolder* parent = Parent();
    return parent && parent->ChildrenReadOnly();
}

bool ContentLibraryFolder::ChildrenReadOnly() const {
    return IsReadOnly();
}

bool ContentLibraryFolder::ViewOnly() const {
    const ContentModelLock lock;
    const ContentFolder* parent = Parent();
    return parent && parent->ViewOnly();
}

QString ContentLibraryFolder::FilePath(const Content* item) const {
    const ContentModelLock lock;
    return ChildPath(m_fileNames.value(item, item->Name() + '.' + item->Suffix()));
}

void ContentLibraryFolder::Scan() {
    const QStringList files =
        ArchivePathRouter::EntryList(DirPath(), QDir::Files | QDir::Readable, {"*.slvi", "*.mqi"});
    for (const QString& file : files) {
        const QString path = ChildPath(file);
        std::unique_ptr<Content> item = std::make_unique<MarqaImage>();
        if (!item->Load(path)) {
            item = std::make_unique<SolviImage>();
            if (!item->Load(path)) {
                continue;  // neither family: left out of the tree, left on disk
            }
        }
        item->SetName(QFileInfo(file).completeBaseName());
        const ContentModelLock lock;
        if (item->Name() + '.' + item->Suffix() != file) {
            // A long name is cut, and an "mqi" file may hold a Solvi image: the file keeps
            // its name.
            m_fileNames.insert(item.get(), file);
        }
        AppendChild(std::move(item));
    }
    LoadConfig();
}

bool ContentLibraryFolder::AddContent(ContentList items, IFeedback* feedback) {
    const ContentModelLock lock;
    if (ChildrenReadOnly()) {
        return false;
    }
    for (std::unique_ptr<Content>& item : items) {
        if (!AcceptsContent(item.get())) {
            return false;
        }
        if (const QString problem = NameProblem(item->Name()); !problem.isEmpty()) {
            return Refuse(feedback, problem);
        }
        const QString file = ChildPath(item->Name() + '.' + item->Suffix());
        if (!item->SetName(QFileInfo(file).completeBaseName())) {
            return false;
        }
        if (const QString problem = item->StoreProblem(); !problem.isEmpty()) {
            return Refuse(feedback, problem);
        }
        // Written whole before anything of the item it replaces goes, so that a failed write
        // leaves the folder as it was.
        if (!item->Save(file)) {
            return Refuse(feedback, "Can't write file");
        }
        // The new item replaces every child of its name; a child kept in a file of another
        // name loses that file too.
        for (int i = ChildCount() - 1; i >= 0; --i) {
            auto* existing = qobject_cast<Content*>(Child(i));
            if (!existing || existing->Name() != item->Name()) {
                continue;
            }
            const QString oldFile = FilePath(existing);
            if (oldFile != file && QFile::exists(oldFile) && !QFile::remove(oldFile)) {
                return Refuse(feedback, "Can't delete file");
            }
            m_fileNames.remove(existing);
            std::unique_ptr<ContentBase> taken = TakeChild(existing);
            emit ContentRemoved(this, existing);
            taken.release()->deleteLater();
        }
        Content* added = item.get();
        AppendChild(std::move(item));
        emit ContentAdded(this, added);
        SaveConfig(false);
    }
    return Succeed(feedback);
}

bool ContentLibraryFolder::Rename(ContentBase* child, const QString& name, int address,
                                  IFeedback* feedback) {
    const ContentModelLock lock;
    auto* item = qobject_cast<Content*>(child);
    if (!item || item->Parent() != this || ChildrenReadOnly()) {
        return false;
    }
    if (address != 0 && (address < MinAddress() || address > MaxAddress())) {
        return Refuse(feedback, "Address out of range");
    }
    // Checked before the file moves, so that a refusal leaves file and tree alike.
    if (HasConflict(item, name, address)) {
        return Refuse(feedback, "New name and/or address conflicts with an existing child");
    }
    if (name != item->Name()) {
        if (const QString problem = NameProblem(name); !problem.isEmpty()) {
            return Refuse(feedback, problem);
        }
        const QString oldFile = FilePath(item);
        const QString newFile = ChildPath(name + '.' + QFileInfo(oldFile).suffix());
        if (!QFile::rename(oldFile, newFile)) {
            return Refuse(feedback, "Can't rename file");
        }
        m_fileNames.remove(item);
        item->SetName(name);
        if (item->Name() + '.' + item->Suffix() != QFileInfo(newFile).fileName()) {
            m_fileNames.insert(item, QFileInfo(newFile).fileName());
        }
    }
    item->SetAddress(address);
    SaveConfig(false);
    return Succeed(feedback);
}

bool ContentLibraryFolder::Remove(ContentBase* child, IFeedback* feedback) {
    const ContentModelLock lock;
    auto* item = qobject_cast<Content*>(child);
    if (!item || item->Parent() != this || ChildrenReadOnly()) {
        return false;
    }
    const QString file = FilePath(item);
    if (!QFile::exists(file)) {
        return Refuse(feedback, "File not found");
    }
    if (!QFile::remove(file)) {
        return Refuse(feedback, "Can't delete file");
    }
    m_fileNames.remove(item);
    std::unique_ptr<ContentBase> taken = TakeChild(item);
    emit ContentRemoved(this, item);
    taken.release()->deleteLater();
    SaveConfig(false);
    return Succeed(feedback);
}

bool ContentLibraryFolder::Move(ContentBase* child, IFeedback* feedback) {
    const ContentModelLock lock;
    auto* item = qobject_cast<Content*>(child);
    auto* from = item ? qobject_cast<ContentLibraryFolder*>(item->Parent()) : nullptr;
    if (!from || from == this || ChildrenReadOnly() || from->ChildrenReadOnly() ||
        HasChild(item->Name(), item->Address())) {
        return false;
    }
    const QString oldFile = from->FilePath(item);
    const QString newFile = ChildPath(QFileInfo(oldFile).fileName());
    if (QFile::exists(newFile) || !QFile::rename(oldFile, newFile)) {
        return Refuse(feedback, "Can't move file");
    }
    const QString fileName = from->m_fileNames.take(item);
    std::unique_ptr<ContentBase> taken = from->TakeChild(item);
    emit from->ContentRemoved(from, item);
    from->SaveConfig(false);
    if (!fileName.isEmpty()) {
        m_fileNames.insert(item, fileName);
    }
    AppendChild(std::move(taken));
    emit ContentAdded(this, item);
    SaveConfig(false);
    return Succeed(feedback);
}
