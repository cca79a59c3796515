#include "content/PolicyBase.h"

#include "content/ContentFolder.h"
#include "content/NamedPolicies.h"

#include <mutex>

namespace {

std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}

PolicyBase* g_firstPolicy = nullptr;

}  // namespace

ContentType ContentType::OfItem(const Content& content) {
    return {&typeid(content), nullptr};
}

PolicyBase::PolicyBase(const char* className) : m_className(className) {
    if (m_className) {
        const std::lock_guard<std::mutex> lock(RegistryLock());
        m_next = g_firstPolicy;
        g_firstPolicy = this;
    }
}

PolicyBase::~PolicyBase() {
    if (m_className) {
        const std::lock_guard<std::mutex> lock(RegistryLock());
        for (PolicyBase** link = &g_firstPolicy; *link; link = &(*link)->m_next) {
            if (*link == this) {
                *link = m_next;
                break;
            }
        }
    }
}

int PolicyBase::MinAddress(const ContentFolder* /*folder*/) const {
    return 0;
}

int PolicyBase::MaxAddress(const ContentFolder* /*folder*/) const {
    return 255;
}

int PolicyBase::FirstFreeAddress(const ContentFolder* folder) const {
    return folder->NextFreeAddress(0);
}

bool PolicyBase::HasConflict(const ContentFolder* /*folder*/, const ContentBase* /*exclude*/,
                             const QString& /*name*/, int /*address*/) const {
    return false;
}

bool PolicyBase::MakeUnique(const ContentFolder* /*folder*/, const ContentBase* /*exclude*/,
                            QString* /*name*/, int* /*address*/) const {
    return false;
}

bool PolicyBase::CanConvertContent(const ContentFolder* /*folder*/, const ContentType& type) const {
    return AcceptsOwnType(type);
}

bool PolicyBase::ChildrenReadOnly(const ContentFolder* /*folder*/) const {
    return false;
}

bool PolicyBase::ViewOnly(const ContentFolder* /*folder*/) const {
    return false;
}

bool PolicyBase::IsReadOnly(const ContentFolder* /*folder*/) const {
    return false;
}

bool PolicyBase::AcceptsOwnType(const ContentType& /*type*/) const {
    return true;
}

std::unique_ptr<Content> PolicyBase::ConvertContent(const Content& /*content*/) const {
    return nullptr;
}

QString PolicyBase::ClassName() const {
    return m_className ? QString::fromLatin1(m_className) : QString();
}

QString PolicyBase::DisplayName() const {
    return {};
}

QString PolicyBase::Label() const {
    return {};
}

ContentList PolicyBase::Import(const ContentFolder* /*folder*/, int /*address*/,
                               const QString& /*file*/, bool /*createEmpty*/) const {
    return {};
}

const PolicyBase* PolicyBase::ChildPolicy(const ContentFolder* /*folder*/, int kind) const {
    return kind == 0 ? this : nullptr;
}

const PolicyBase* PolicyBase::Find(const QString& className) {
    NamedPolicies::Register();
    const std::lock_guard<std::mutex> lock(RegistryLock());
    for (const PolicyBase* policy = g_firstPolicy; policy; policy = policy->m_next) {
        if (QString::compare(policy->ClassName(), className, Qt::CaseInsensitive) == 0) {
            return policy;
        }
    }
    return nullptr;
}
