#pragma once

#include "content/ContentChildList.h"
#include "content/ContentFolder.h"

// An in-memory folder that holds sub-folders only: content items are refused.
class ContentContainerFolder : public ContentFolder {
    Q_OBJECT

public:
    ContentContainerFolder() = default;

    int ChildCount() const override;
    ContentBase* Child(int index) override;
    const ContentBase* Child(int index) const override;
    int MinAddress() const override;
    int MaxAddress() const override;
    bool AcceptsContent(const Content* content) const override;
    bool AddContent(ContentList items, IFeedback* feedback) override;

    // Appends a sub-folder and announces it.
    void AppendFolder(std::unique_ptr<ContentFolder> folder);

private:
    ContentChildList m_children;
};
