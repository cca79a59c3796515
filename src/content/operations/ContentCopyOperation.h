#pragma once

#include "content/operations/ContentItemsOperation.h"

class Content;
class ContentFolder;
class IFeedback;

// Copies items and folders into a folder; a folder is made again in the target and its
// children copied into it, recursively. Goes on after a failing item.
class ContentCopyOperation : public ContentItemsOperation {
    Q_OBJECT

public:
    ContentCopyOperation(const QList<ContentBase*>& items, ContentFolder* target);

    QString Title() const override;
    // Every item is content the target accepts, or a folder it may hold (and not one the
    // target lies in).
    bool CanExecute() const override;
    int Execute(IFeedback* feedback, int options) override;

    // The address an item of `address` gets in `target`: the same where the target's range
    // holds it, else the target's next free one.
    static int AddressIn(const ContentFolder* target, int address);

private:
    int CopyOne(IFeedback* feedback, ContentBase* item, ContentFolder* target, int start, int end);
};
