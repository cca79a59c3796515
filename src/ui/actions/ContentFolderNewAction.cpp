#include "ui/actions/ContentFolderNewAction.h"

#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "content/ContentPolicyFolder.h"
#include "content/NamedPolicies.h"
#include "lumo/tree/LumoRDMContentFolder.h"
#include "lumo/tree/LumoRDMContentGroup.h"
#include "ui/NameDialog.h"

#include <QMessageBox>

namespace {

ContentFolderNewAction::QuorelCreator& Creator() {
    static ContentFolderNewAction::QuorelCreator creator;
    return creator;
}

bool IsQuorelPolicy(const PolicyBase* policy) {
    const PolicyBase* quorel[] = {
        &NamedPolicies::MarqaQuorelContentFolder(), &NamedPolicies::SolviQuorelContentFolder(),
        &NamedPolicies::MarqaQuorelContentPackage(), &NamedPolicies::SolviQuorelContentPackage(),
        &NamedPolicies::RootQuorelContent()};
    return std::find(std::begin(quorel), std::end(quorel), policy) != std::end(quorel);
}

}  // namespace

ContentFolderNewAction::ContentFolderNewAction(ContentFolder* folder, int kind, QWidget* parent)
    : ContentFolderAction(QString(), folder, parent),
      m_typeName(folder ? folder->ChildFolderTypeName(kind) : QString()) {
    setText(QStringLiteral("New %1").arg(m_typeName));
}

bool ContentFolderNewAction::IsQuorelFolder(const ContentFolder* folder) {
    const ContentModelLock lock;
    if (const auto* group = qobject_cast<const LumoRDMContentGroup*>(folder)) {
        return group->Kind() == LumoRDMContentGroup::Quorel;
    }
    if (const auto* fixtureFolder = qobject_cast<const LumoRDMContentFolder*>(folder)) {
        return fixtureFolder->Group() &&
               fixtureFolder->Group()->Kind() == LumoRDMContentGroup::Quorel;
    }
    const auto* policyFolder = qobject_cast<const ContentPolicyFolder*>(folder);
    return policyFolder && IsQuorelPolicy(policyFolder->Policy());
}

void ContentFolderNewAction::SetQuorelCreator(QuorelCreator creator) {
    Creator() = std::move(creator);
}

void ContentFolderNewAction::execute() {
    ContentFolder* folder = Folder();
    if (!folder) {
        return;
    }
    if (IsQuorelFolder(folder)) {
        if (Creator()) {
            Creator()(ParentWidget());
        }
        return;
    }
    const std::optional<QString> name = NameDialog::Ask(text(), QString(), ParentWidget());
    if (!name) {
        return;
    }
    if (!folder->AddFolder(*name, folder->FirstFreeAddress(), nullptr)) {
        QMessageBox::warning(ParentWidget(), QStringLiteral("New %1 Failed").arg(m_typeName),
                             "The folder could not be created");
    }
}
