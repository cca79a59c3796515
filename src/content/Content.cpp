#include "content/Content.h"

#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"

const ContentFolder* Content::Root() const {
    const ContentModelLock lock;
    const ContentFolder* parent = Parent();
    return parent ? parent->Root() : nullptr;
}

ContentFolder* Content::Root() {
    const ContentModelLock lock;
    ContentFolder* parent = Parent();
    return parent ? parent->Root() : nullptr;
}

QIcon Content::Icon() const {
    QIcon icon;
    icon.addFile(QStringLiteral(":/Resources/content-16.png"));
    icon.addFile(QStringLiteral(":/Resources/content-unknown.png"));
    return icon;
}

quint32* Content::Key() {
    return &m_key;
}

bool Content::IsFlagged() const {
    return false;
}

quint32 Content::ContentKey() const {
    const ContentModelLock lock;
    return m_key;
}

void Content::SetContentKey(quint32 key) {
    const ContentModelLock lock;
    m_key = key;
}
