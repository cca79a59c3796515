#include "content/operations/ContentDeleteOperation.h"

#include "comm/IFeedback.h"
#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "content/ContentRegistry.h"
#include "content/operations/ContentSteps.h"

ContentDeleteOperation::ContentDeleteOperation(const QList<ContentBase*>& items)
    : ContentItemsOperation(items) {}

QString ContentDeleteOperation::Title() const {
    return QStringLiteral("Deleting %1").arg(ItemsText());
}

bool ContentDeleteOperation::CanExecute() const {
    const ContentModelLock lock;
    const QList<ContentBase*> items = Items();
    for (const ContentBase* item : items) {
        const ContentFolder* parent = item->Parent();
        if (item->IsReadOnly() || !parent || parent->ChildrenReadOnly()) {
            return false;
        }
    }
    return !items.isEmpty();
}

int ContentDeleteOperation::Execute(IFeedback* feedback, int /*options*/) {
    feedback->SetTotal(ItemCount());
    return ForEachItem(feedback, false, [&](int index, ContentBase* item) {
        const int result = DeleteTree(feedback, item);
        feedback->SetCurrent(index + 1);
        return result;
    });
}

int ContentDeleteOperation::DeleteTree(IFeedback* feedback, ContentBase* item) {
    if (auto* folder = qobject_cast<ContentFolder*>(item)) {
        QList<quint32> children;
        {
            const ContentModelLock lock;
            for (int i = 0, count = folder->ChildCount(); i < count; ++i) {
                children.append(folder->Child(i)->Reference());
            }
        }
        bool failed = false;
        for (const quint32 reference : children) {
            ContentBase* child = ContentRegistry::Instance().Resolve(reference);
            const int result = child ? DeleteTree(feedback, child) : Succeeded;
            if (result == Cancelled) {
                return Cancelled;
            }
            failed = failed || result != Succeeded;
        }
        if (failed) {
            return Failed;  // a folder that still holds items stays
        }
    }
    return ContentSteps::Delete(feedback, item);
}
