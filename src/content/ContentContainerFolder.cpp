#include "content/ContentContainerFolder.h"

#include "content/ContentModelMutex.h"

int ContentContainerFolder::ChildCount() const {
    const ContentModelLock lock;
    return m_children.Count();
}

ContentBase* ContentContainerFolder::Child(int index) {
    const ContentModelLock lock;
    return m_children.At(index);
}

const ContentBase* ContentContainerFolder::Child(int index) const {
    const ContentModelLock lock;
    return m_children.At(index);
}

int ContentContainerFolder::MinAddress() const {
    return 0;
}

int ContentContainerFolder::MaxAddress() const {
    return 0;
}

bool ContentContainerFolder::AcceptsContent(const Content* /*content*/) const {
    return false;
}

bool ContentContainerFolder::AddContent(ContentList /*items*/, IFeedback* /*feedback*/) {
    return false;
}

void ContentContainerFolder::AppendFolder(std::unique_ptr<ContentFolder> folder) {
    const ContentModelLock lock;
    ContentFolder* added = folder.get();
    m_children.Append(std::move(folder), this);
    emit FolderAdded(this, added);
}
