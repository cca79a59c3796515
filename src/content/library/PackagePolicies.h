#pragma once

class ContentBase;
class PolicyBase;

// Which package holds content of a kind, for writing packages of it.
namespace PackagePolicies {

// The package policy for content like `sample` (a folder, or an item in one): a package of
// its family, a collage package for Quorel content. Null when the family cannot be told.
const PolicyBase* For(const ContentBase* sample, bool* collage);

}  // namespace PackagePolicies
