#include "content/operations/ContentMoveOperation.h"

#include "comm/IFeedback.h"
#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "content/operations/ContentSteps.h"

ContentMoveOperation::ContentMoveOperation(const QList<ContentBase*>& items, ContentFolder* target)
    : ContentItemsOperation(items, target) {}

QString ContentMoveOperation::Title() const {
    return TitleTo("Moving");
}

bool ContentMoveOperation::CanExecute() const {
    const ContentModelLock lock;
    const ContentFolder* target = Target();
    const QList<ContentBase*> items = Items();
    if (!target || items.isEmpty()) {
        return false;
    }
    for (const ContentBase* item : items) {
        const auto* folder = qobject_cast<const ContentFolder*>(item);
        if (folder ? !target->CanMoveFolder(folder)
                   : !target->CanMoveContent(qobject_cast<const Content*>(item))) {
            return false;
        }
    }
    return true;
}

int ContentMoveOperation::Execute(IFeedback* feedback, int options) {
    ContentFolder* target = Target();
    if (!target) {
        feedback->AddString(QStringLiteral("Can't move: the target is gone"), FeedbackStatusError);
        return Failed;
    }
    feedback->SetTotal(ItemCount());
    return ForEachItem(
        feedback, (options & kStopOnFailure) != 0, [&](int index, ContentBase* item) {
            const int result = ContentSteps::MoveItem(feedback, item, target, {index, index + 1});
            feedback->SetCurrent(index + 1);
            return result;
        });
}
