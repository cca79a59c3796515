#include "content/ContentFolder.h"

#include "content/ContentModelMutex.h"
#include "content/ledimage/IImageImport.h"

#include <QFileInfo>

#include <algorithm>

const ContentFolder* ContentFolder::Root() const {
    const ContentModelLock lock;
    const ContentFolder* folder = this;
    while (const ContentFolder* parent = folder->Parent()) {
        folder = parent;
    }
    return folder;
}

ContentFolder* ContentFolder::Root() {
    const ContentModelLock lock;
    ContentFolder* folder = this;
    while (ContentFolder* parent = folder->Parent()) {
        folder = parent;
    }
    return folder;
}

QIcon ContentFolder::Icon() const {
    QIcon icon;
    icon.addFile(QStringLiteral(":/Resources/content-folder-16.png"));
    icon.addFile(QStringLiteral(":/Resources/content-folder.png"));
    return icon;
}

bool ContentFolder::IsWithin(const ContentFolder* other) const {
    const ContentModelLock lock;
    for (const ContentFolder* folder = this; folder; folder = folder->Parent()) {
        if (folder == other) {
            return true;
        }
    }
    return false;
}

void ContentFolder::Sort(bool /*recursive*/) {}

bool ContentFolder::ChildrenReadOnly() const {
    return false;
}

bool ContentFolder::ViewOnly() const {
    return false;
}

int ContentFolder::FirstFreeAddress() const {
    const ContentModelLock lock;
    return NextFreeAddress(0);
}

int ContentFolder::NextFreeAddress(int from) const {
    const ContentModelLock lock;
    const qint64 max = MaxAddress();
    qint64 candidate = std::max(from, MinAddress());
    const int count = ChildCount();
    for (int i = 0; i < count && candidate <= max;) {
        if (Child(i)->Address() == candidate) {
            ++candidate;
            i = 0;
        } else {
            ++i;
        }
    }
    return candidate > max ? -1 : int(candidate);
}

bool ContentFolder::HasFlaggedContent() const {
    return false;
}

QString ContentFolder::ChildFolderTypeName(int /*kind*/) const {
    return {};
}

bool ContentFolder::AddFolder(const QString& /*name*/, int /*address*/, IFeedback* /*feedback*/) {
    return false;
}

bool ContentFolder::AcceptsFolder(const ContentFolder* /*folder*/) const {
    return true;
}

bool ContentFolder::AcceptsContent(const Content* /*content*/) const {
    return true;
}

bool ContentFolder::AddContent(ContentList /*items*/, IFeedback* /*feedback*/) {
    return false;
}

bool ContentFolder::HasChild(const QString& name, int /*address*/) const {
    const ContentModelLock lock;
    for (int i = 0, count = ChildCount(); i < count; ++i) {
        if (Child(i)->Name() == name) {
            return true;
        }
    }
    return false;
}

void ContentFolder::MakeUnique(QString* name, int* address) {
    const ContentModelLock lock;
    const QString stem = *name;
    // A name-only clash always clears within ChildCount()+1 tries; the bound also keeps a
    // subclass whose HasChild never says false from looping for ever.
    for (int k = 2, last = ChildCount() + 2; HasChild(*name, *address) && k <= last; ++k) {
        *name = QStringLiteral("%1 (%2)").arg(stem).arg(k);
    }
}

bool ContentFolder::Rename(ContentBase* /*child*/, const QString& /*name*/, int /*address*/,
                           IFeedback* /*feedback*/) {
    return false;
}

bool ContentFolder::CanMoveContent(const Content* content) const {
    const ContentModelLock lock;
    return content && content->Root() == Root() && content->Parent() != this;
}

bool ContentFolder::CanMoveFolder(const ContentFolder* folder) const {
    const ContentModelLock lock;
    return folder && folder->Root() == Root() && !IsWithin(folder);
}

bool ContentFolder::Move(ContentBase* /*item*/, IFeedback* /*feedback*/) {
    return false;
}

bool ContentFolder::Remove(ContentBase* /*child*/, IFeedback* /*feedback*/) {
    return false;
}

bool ContentFolder::RemoveAll(IFeedback* /*feedback*/) {
    return false;
}

bool ContentFolder::Download(const QList<const Content*>& /*items*/, IFeedback* /*feedback*/) {
    return false;
}

ContentList ContentFolder::NewContents(const QStringList& paths) {
    const ContentModelLock lock;
    ContentList contents;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.exists() || !info.isFile()) {
            continue;
        }
        for (std::unique_ptr<Content>& content : NewContent(path)) {
            contents.push_back(std::move(content));
        }
    }
    return contents;
}

ContentList ContentFolder::NewContent(const QString& /*path*/) {
    return {};
}

ContentList ContentFolder::ImportFiles(int address, const QStringList& paths) {
    // No content lock: each import may wait on the user's import dialog, and the operations
    // of other threads must not wait with it.
    IImageImport* import = IImageImport::Installed();
    if (import) {
        import->BeginBatch(int(paths.size()));
    }
    ContentList contents;
    for (const QString& path : paths) {
        for (std::unique_ptr<Content>& content : ImportFile(address, path)) {
            contents.push_back(std::move(content));
        }
    }
    if (import) {
        import->EndBatch();
    }
    return contents;
}

ContentList ContentFolder::ImportFile(int /*address*/, const QString& /*path*/) {
    return {};
}
