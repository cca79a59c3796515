#pragma once

#include "content/operations/ContentItemsOperation.h"

class ContentFolder;

// Moves items and folders into a folder, one by one. With option bit 0 it stops at the first
// item that fails.
class ContentMoveOperation : public ContentItemsOperation {
    Q_OBJECT

public:
    ContentMoveOperation(const QList<ContentBase*>& items, ContentFolder* target);

    QString Title() const override;
    // The target's move tests pass for every item.
    bool CanExecute() const override;
    int Execute(IFeedback* feedback, int options) override;
};
