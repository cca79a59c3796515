#pragma once

class PolicyBase;

// The named policies that folder descriptions refer to by class name. Each exists once and is
// registered the first time any of them is asked for.
namespace NamedPolicies {

// Creates and registers the named policies (once; later calls do nothing).
void Register();

const PolicyBase& MarqaContentFolder();
const PolicyBase& SolviContentFolder();
const PolicyBase& MarqaContentPackage();
const PolicyBase& SolviContentPackage();
const PolicyBase& MarqaQuorelContentFolder();
const PolicyBase& SolviQuorelContentFolder();
const PolicyBase& MarqaQuorelContentPackage();
const PolicyBase& SolviQuorelContentPackage();
const PolicyBase& RootContent();
const PolicyBase& RootQuorelContent();
const PolicyBase& StandardStockContent();

}  // namespace NamedPolicies
