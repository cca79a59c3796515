#pragma once

#include <typeinfo>

class Content;
class PolicyBase;

// What a folder is asked to take: the exact class of a content item, or the policy of a
// sub-folder (null for a folder without one).
struct ContentType {
    const std::type_info* itemClass = nullptr;
    const PolicyBase* folderPolicy = nullptr;

    static ContentType OfItem(const Content& content);
    static ContentType OfFolderPolicy(const PolicyBase* policy) { return {nullptr, policy}; }
};
