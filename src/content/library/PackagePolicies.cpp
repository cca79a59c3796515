#include "content/library/PackagePolicies.h"

#include "content/ContentModelMutex.h"
#include "content/ContentPolicyFolder.h"
#include "content/NamedPolicies.h"

namespace {

struct FamilyPackage {
    const PolicyBase& (*folder)();
    const PolicyBase& (*package)();
    bool collage;
};

const FamilyPackage kFamilyPackages[] = {
    {&NamedPolicies::MarqaContentFolder, &NamedPolicies::MarqaContentPackage, false},
    {&NamedPolicies::SolviContentFolder, &NamedPolicies::SolviContentPackage, false},
    {&NamedPolicies::MarqaContentPackage, &NamedPolicies::MarqaContentPackage, false},
    {&NamedPolicies::SolviContentPackage, &NamedPolicies::SolviContentPackage, false},
    {&NamedPolicies::MarqaQuorelContentFolder, &NamedPolicies::MarqaQuorelContentPackage, true},
    {&NamedPolicies::SolviQuorelContentFolder, &NamedPolicies::SolviQuorelContentPackage, true},
    {&NamedPolicies::MarqaQuorelContentPackage, &NamedPolicies::MarqaQuorelContentPackage, true},
    {&NamedPolicies::SolviQuorelContentPackage, &NamedPolicies::SolviQuorelContentPackage, true},
};

}  // namespace

const PolicyBase* PackagePolicies::For(const ContentBase* sample, bool* collage) {
    const ContentModelLock lock;
    const auto* folder = qobject_cast<const ContentPolicyFolder*>(sample);
    if (!folder && sample) {
        folder = qobject_cast<const ContentPolicyFolder*>(sample->Parent());
    }
    const PolicyBase* policy = folder ? folder->Policy() : nullptr;
    for (const FamilyPackage& row : kFamilyPackages) {
        if (policy == &row.folder()) {
            *collage = row.collage;
            return &row.package();
        }
    }
    return nullptr;
}
