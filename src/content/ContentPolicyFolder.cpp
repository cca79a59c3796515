#include "content/ContentPolicyFolder.h"

#include "content/ContentModelMutex.h"
#include "content/PolicyRules.h"

namespace {

const PolicyBase* OrNullPolicy(const PolicyBase* policy) {
    return policy ? policy : &ContentPolicy<NullPolicy>::Instance();
}

const PolicyBase* PolicyOf(const ContentFolder* folder) {
    const auto* policyFolder = qobject_cast<const ContentPolicyFolder*>(folder);
    return policyFolder ? policyFolder->Policy() : nullptr;
}

}  // namespace

ContentPolicyFolder::ContentPolicyFolder(const PolicyBase* policy)
    : m_policy(OrNullPolicy(policy)) {}

const PolicyBase* ContentPolicyFolder::Policy() const {
    const ContentModelLock lock;
    return m_policy;
}

void ContentPolicyFolder::SetPolicy(const PolicyBase* policy) {
    const ContentModelLock lock;
    m_policy = OrNullPolicy(policy);
}

bool ContentPolicyFolder::IsReadOnly() const {
    const ContentModelLock lock;
    return m_policy->IsReadOnly(this);
}

int ContentPolicyFolder::MinAddress() const {
    const ContentModelLock lock;
    return m_policy->MinAddress(this);
}

int ContentPolicyFolder::MaxAddress() const {
    const ContentModelLock lock;
    return m_policy->MaxAddress(this);
}

bool ContentPolicyFolder::ChildrenReadOnly() const {
    const ContentModelLock lock;
    return m_policy->ChildrenReadOnly(this);
}

bool ContentPolicyFolder::ViewOnly() const {
    const ContentModelLock lock;
    return m_policy->ViewOnly(this);
}

int ContentPolicyFolder::FirstFreeAddress() const {
    const ContentModelLock lock;
    return m_policy->FirstFreeAddress(this);
}

QString ContentPolicyFolder::ChildFolderTypeName(int kind) const {
    const ContentModelLock lock;
    const PolicyBase* child = m_policy->ChildPolicy(this, kind);
    return child ? child->DisplayName() : QString();
}

bool ContentPolicyFolder::AcceptsFolder(const ContentFolder* folder) const {
    const ContentModelLock lock;
    const PolicyBase* policy = PolicyOf(folder);
    return !policy || m_policy->CanConvertContent(this, ContentType::OfFolderPolicy(policy));
}

bool ContentPolicyFolder::AcceptsContent(const Content* content) const {
    const ContentModelLock lock;
    return content && m_policy->CanConvertContent(this, ContentType::OfItem(*content));
}

bool ContentPolicyFolder::HasChild(const QString& name, int address) const {
    const ContentModelLock lock;
    return HasConflict(nullptr, name, address);
}

void ContentPolicyFolder::MakeUnique(QString* name, int* address) {
    const ContentModelLock lock;
    MakeUnique(nullptr, name, address);
}

bool ContentPolicyFolder::CanMoveContent(const Content* content) const {
    const ContentModelLock lock;
    if (!content) {
        return false;
    }
    const PolicyBase* from = PolicyOf(content->Parent());
    if (from && from != m_policy) {
        return false;
    }
    return AcceptsContent(content) && ContentFolder::CanMoveContent(content);
}

bool ContentPolicyFolder::CanMoveFolder(const ContentFolder* folder) const {
    const ContentModelLock lock;
    if (!folder) {
        return false;
    }
    const PolicyBase* moved = PolicyOf(folder);
    if (moved && moved != m_policy) {
        return false;
    }
    return AcceptsFolder(folder) && ContentFolder::CanMoveFolder(folder);
}

ContentList ContentPolicyFolder::NewContent(const QString& path) {
    const ContentModelLock lock;
    return m_policy->Import(this, 0, path, true);
}

ContentList ContentPolicyFolder::ImportFile(int address, const QString& path) {
    // No content lock here: an import may read a clip and wait on the user's import dialog
    // for as long as it is open, and the policies read nothing of the folder to import.
    return m_policy->Import(this, address, path, false);
}

bool ContentPolicyFolder::HasConflict(const ContentBase* exclude, const QString& name,
                                      int address) const {
    const ContentModelLock lock;
    return m_policy->HasConflict(this, exclude, name, address);
}

void ContentPolicyFolder::MakeUnique(const ContentBase* exclude, QString* name, int* address) {
    const ContentModelLock lock;
    m_policy->MakeUnique(this, exclude, name, address);
}
