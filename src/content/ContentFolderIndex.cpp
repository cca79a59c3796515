#include "content/ContentFolderIndex.h"

#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"

ContentFolderIndex::ContentFolderIndex(ContentFolder* root, QObject* parent) : QObject(parent) {
    const ContentModelLock lock;
    if (root) {
        Follow(nullptr, root);
    }
}

Content* ContentFolderIndex::Find(quint32 key) const {
    const ContentModelLock lock;
    for (auto found = m_byKey.find(key); found != m_byKey.end() && found.key() == key; ++found) {
        if (found.value()->ContentKey() == key) {
            return found.value();
        }
    }
    // A key written without a change signal is still found.
    for (auto it = m_keys.begin(); it != m_keys.end(); ++it) {
        auto* content = const_cast<Content*>(it.key());
        if (content->ContentKey() == key) {
            return content;
        }
    }
    return nullptr;
}

bool ContentFolderIndex::Contains(const Content* content) const {
    const ContentModelLock lock;
    return m_keys.contains(content);
}

bool ContentFolderIndex::Contains(const ContentFolder* folder) const {
    const ContentModelLock lock;
    return m_folderParent.contains(folder);
}

int ContentFolderIndex::ContentCount() const {
    const ContentModelLock lock;
    return int(m_keys.size());
}

int ContentFolderIndex::FolderCount() const {
    const ContentModelLock lock;
    return int(m_folderParent.size());
}

void ContentFolderIndex::AddContent(const ContentFolder* parent, Content* content) {
    const ContentModelLock lock;
    if (!content || m_keys.contains(content)) {
        return;
    }
    const quint32 key = content->ContentKey();
    m_keys.insert(content, key);
    m_byKey.insert(key, content);
    m_contentFolder.insert(content, parent);
    connect(content, &Content::ContentChanged, this, [this, content] { Rekey(content); });
    connect(content, &QObject::destroyed, this, [this, content] { Forget(content); });
}

void ContentFolderIndex::RemoveContent(const ContentFolder* /*parent*/, const Content* content) {
    const ContentModelLock lock;
    if (m_keys.contains(content)) {
        disconnect(content, nullptr, this, nullptr);
        Forget(content);
    }
}

void ContentFolderIndex::AddFolder(const ContentFolder* parent, ContentFolder* folder) {
    const ContentModelLock lock;
    if (folder && !m_folderParent.contains(folder)) {
        Follow(parent, folder);
    }
}

void ContentFolderIndex::RemoveFolder(const ContentFolder* /*parent*/,
                                      const ContentFolder* folder) {
    const ContentModelLock lock;
    if (!m_folderParent.contains(folder)) {
        return;
    }
    // Everything recorded below the folder goes with it; the walk uses the record only, so
    // it does not matter whether the objects are still there.
    const auto within = [this, folder](const ContentFolder* candidate) {
        for (; candidate; candidate = m_folderParent.value(candidate)) {
            if (candidate == folder) {
                return true;
            }
        }
        return false;
    };
    QList<const Content*> contents;
    for (auto it = m_contentFolder.begin(); it != m_contentFolder.end(); ++it) {
        if (within(it.value())) {
            contents.append(it.key());
        }
    }
    QList<const ContentFolder*> folders;
    for (auto it = m_folderParent.begin(); it != m_folderParent.end(); ++it) {
        if (within(it.key())) {
            folders.append(it.key());
        }
    }
    for (const Content* content : contents) {
        disconnect(content, nullptr, this, nullptr);
        Forget(content);
    }
    for (const ContentFolder* removed : folders) {
        disconnect(removed, nullptr, this, nullptr);
        m_folderParent.remove(removed);
    }
}

void ContentFolderIndex::Follow(const ContentFolder* parent, ContentFolder* folder) {
    m_folderParent.insert(folder, parent);
    connect(folder, &ContentFolder::ContentAdded, this, &ContentFolderIndex::AddContent);
    connect(folder, &ContentFolder::ContentRemoved, this, &ContentFolderIndex::RemoveContent);
    connect(folder, &ContentFolder::FolderAdded, this, &ContentFolderIndex::AddFolder);
    connect(folder, &ContentFolder::FolderRemoved, this, &ContentFolderIndex::RemoveFolder);
    connect(folder, &QObject::destroyed, this, [this, folder] { ForgetFolder(folder); });
    for (int i = 0, count = folder->ChildCount(); i < count; ++i) {
        ContentBase* child = folder->Child(i);
        if (auto* subFolder = qobject_cast<ContentFolder*>(child)) {
            AddFolder(folder, subFolder);
        } else if (auto* content = qobject_cast<Content*>(child)) {
            AddContent(folder, content);
        }
    }
}

void ContentFolderIndex::Forget(const Content* content) {
    const ContentModelLock lock;
    const auto key = m_keys.find(content);
    if (key == m_keys.end()) {
        return;
    }
    m_byKey.remove(key.value(), const_cast<Content*>(content));
    m_keys.erase(key);
    m_contentFolder.remove(content);
}

void ContentFolderIndex::ForgetFolder(const ContentFolder* folder) {
    const ContentModelLock lock;
    m_folderParent.remove(folder);
}

void ContentFolderIndex::Rekey(Content* content) {
    const ContentModelLock lock;
    const auto key = m_keys.find(content);
    if (key == m_keys.end()) {
        return;
    }
    m_byKey.remove(key.value(), content);
    key.value() = content->ContentKey();
    m_byKey.insert(key.value(), content);
}
