#include "content/ContentBase.h"

#include "content/ContentModelMutex.h"
#include "content/ContentRegistry.h"

ContentBase::ContentBase() : m_reference(ContentRegistry::Instance().Register(this)) {}

ContentBase::~ContentBase() {
    ContentRegistry::Instance().Unregister(m_reference);
}

bool ContentBase::IsReadOnly() const {
    return false;
}

QString ContentBase::Name() const {
    const ContentModelLock lock;
    return m_name;
}

QString ContentBase::NameProblem(const QString& name) {
    if (name.trimmed().isEmpty()) {
        return QStringLiteral("a name can't be empty");
    }
    if (name.size() > kMaxNameLength) {
        return QStringLiteral("names are at most %1 characters; \"%2\" has %3")
            .arg(kMaxNameLength)
            .arg(name)
            .arg(name.size());
    }
    return {};
}

bool ContentBase::SetName(const QString& name) {
    const ContentModelLock lock;
    const QString oldName = m_name;
    m_name = name.left(kMaxNameLength);
    emit NameChanged(this, oldName);
    return true;
}

int ContentBase::Address() const {
    const ContentModelLock lock;
    return m_address;
}

bool ContentBase::SetAddress(int address) {
    const ContentModelLock lock;
    m_address = address;
    emit AddressChanged(this, address);
    return true;
}

quint16 ContentBase::Tag() const {
    const ContentModelLock lock;
    return m_tag;
}

bool ContentBase::SetTag(quint16 tag) {
    const ContentModelLock lock;
    m_tag = tag;
    return true;
}

ContentFolder* ContentBase::Parent() const {
    const ContentModelLock lock;
    return m_parent;
}

ContentFolder* ContentBase::Parent() {
    const ContentModelLock lock;
    return m_parent;
}

bool ContentBase::SetParent(ContentFolder* parent) {
    const ContentModelLock lock;
    m_parent = parent;
    return true;
}
