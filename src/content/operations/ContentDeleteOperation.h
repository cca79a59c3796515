#pragma once

#include "content/operations/ContentItemsOperation.h"

class ContentFolder;

// Deletes items and folders; a folder's children go first, recursively, then the folder.
// Goes on after a failing item.
class ContentDeleteOperation : public ContentItemsOperation {
    Q_OBJECT

public:
    explicit ContentDeleteOperation(const QList<ContentBase*>& items);

    QString Title() const override;
    bool CanExecute() const override;
    int Execute(IFeedback* feedback, int options) override;

    // Deletes the object (a folder after its children); 0, 1 or 2 as a step.
    static int DeleteTree(IFeedback* feedback, ContentBase* item);
};
