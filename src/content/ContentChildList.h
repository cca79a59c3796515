#pragma once

#include "content/ContentBase.h"

#include <memory>
#include <vector>

class ContentFolder;

// The owned children of an in-memory folder, in order. Taking a child hands its ownership
// to the caller; the list deletes what it still holds when it goes.
class ContentChildList {
public:
    int Count() const { return int(m_children.size()); }
    // Ends the process for an index outside 0..Count()-1.
    ContentBase* At(int index) const;
    int IndexOf(const ContentBase* child) const;

    // Appends the child and makes `folder` its parent.
    void Append(std::unique_ptr<ContentBase> child, ContentFolder* folder);
    // Removes the child from the list (null when it is not in it).
    std::unique_ptr<ContentBase> Take(const ContentBase* child);
    // Orders the children by address, ascending; with `recursive`, sub-folders sort too.
    void SortByAddress(bool recursive);

private:
    std::vector<std::unique_ptr<ContentBase>> m_children;
};
