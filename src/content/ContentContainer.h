#pragma once

#include "content/ContentChildList.h"
#include "content/ContentFolder.h"

// A plain in-memory folder that owns a list of children and takes any item added to it.
class ContentContainer : public ContentFolder {
    Q_OBJECT

public:
    ContentContainer() = default;

    int ChildCount() const override;
    ContentBase* Child(int index) override;
    const ContentBase* Child(int index) const override;
    int MinAddress() const override;
    int MaxAddress() const override;
    // Appends every item, in order, and announces each.
    bool AddContent(ContentList items, IFeedback* feedback) override;

    // Appends a sub-folder and announces it.
    void AppendFolder(std::unique_ptr<ContentFolder> folder);

private:
    ContentChildList m_children;
};
