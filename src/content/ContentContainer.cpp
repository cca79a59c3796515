#include "content/ContentContainer.h"

#include "content/ContentModelMutex.h"

int ContentContainer::ChildCount() const {
    const ContentModelLock lock;
    return m_children.Count();
}

ContentBase* ContentContainer::Child(int index) {
    const ContentModelLock lock;
    return m_children.At(index);
}

const ContentBase* ContentContainer::Child(int index) const {
    const ContentModelLock lock;
    return m_children.At(index);
}

int ContentContainer::MinAddress() const {
    return 0;
}

int ContentContainer::MaxAddress() const {
    return 0;
}

bool ContentContainer::AddContent(ContentList items, IFeedback* /*feedback*/) {
    const ContentModelLock lock;
    for (std::unique_ptr<Content>& item : items) {
        if (!item) {
            continue;
        }
        Content* added = item.get();
        m_children.Append(std::move(item), this);
        emit ContentAdded(this, added);
    }
    return true;
}

void ContentContainer::AppendFolder(std::unique_ptr<ContentFolder> folder) {
    const ContentModelLock lock;
    ContentFolder* added = folder.get();
    m_children.Append(std::move(folder), this);
    emit FolderAdded(this, added);
}
