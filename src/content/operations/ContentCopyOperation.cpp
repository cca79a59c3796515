#include "content/operations/ContentCopyOperation.h"

#include "comm/IFeedback.h"
#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "content/ContentRegistry.h"
#include "content/operations/ContentSteps.h"

ContentCopyOperation::ContentCopyOperation(const QList<ContentBase*>& items, ContentFolder* target)
    : ContentItemsOperation(items, target) {}

QString ContentCopyOperation::Title() const {
    return TitleTo("Copying");
}

bool ContentCopyOperation::CanExecute() const {
    const ContentModelLock lock;
    const ContentFolder* target = Target();
    const QList<ContentBase*> items = Items();
    if (!target || items.isEmpty() || target->ChildrenReadOnly()) {
        return false;
    }
    for (const ContentBase* item : items) {
        if (const auto* folder = qobject_cast<const ContentFolder*>(item)) {
            if (!target->AcceptsFolder(folder) || target->IsWithin(folder)) {
                return false;
            }
        } else if (!target->AcceptsContent(qobject_cast<const Content*>(item))) {
            return false;
        }
    }
    return true;
}

int ContentCopyOperation::AddressIn(const ContentFolder* target, int address) {
    const ContentModelLock lock;
    if (address >= target->MinAddress() && address <= target->MaxAddress()) {
        return address;
    }
    const int free = target->NextFreeAddress(target->MinAddress());
    return free < 0 ? address : free;
}

int ContentCopyOperation::Execute(IFeedback* feedback, int /*options*/) {
    ContentFolder* target = Target();
    if (!target) {
        feedback->AddString(QStringLiteral("Can't copy: the target is gone"), FeedbackStatusError);
        return Failed;
    }
    feedback->SetTotal(100);
    const int count = ItemCount();
    const int result = ForEachItem(feedback, false, [&](int index, ContentBase* item) {
        return CopyOne(feedback, item, target, 100 * index / count, 100 * (index + 1) / count);
    });
    feedback->SetCurrent(100);
    return result;
}

int ContentCopyOperation::CopyOne(IFeedback* feedback, ContentBase* item, ContentFolder* target,
                                  int start, int end) {
    if (const auto* content = qobject_cast<const Content*>(item)) {
        return ContentSteps::CopyItem(feedback, content, target, content->Name(),
                                      AddressIn(target, content->Address()), {start, end});
    }
    auto* folder = qobject_cast<ContentFolder*>(item);
    if (!folder) {
        return Failed;
    }
    ContentFolder* made = nullptr;
    const int created = ContentSteps::CreateFolder(feedback, target, folder->Name(),
                                                   AddressIn(target, folder->Address()), &made);
    if (created != Succeeded) {
        return created;
    }
    // The children, as they are now: a list taken under the lock, then copied one by one.
    QList<quint32> children;
    {
        const ContentModelLock lock;
        for (int i = 0, count = folder->ChildCount(); i < count; ++i) {
            children.append(folder->Child(i)->Reference());
        }
    }
    bool failed = false;
    const qsizetype count = children.size();
    for (qsizetype i = 0; i < count; ++i) {
        ContentBase* child = ContentRegistry::Instance().Resolve(children[i]);
        if (!child) {
            continue;
        }
        const int result = CopyOne(feedback, child, made, start + int((end - start) * i / count),
                                   start + int((end - start) * (i + 1) / count));
        if (result == Cancelled) {
            return failed ? Failed : Cancelled;
        }
        failed = failed || result != Succeeded;
    }
    feedback->SetCurrent(end);
    return failed ? Failed : Succeeded;
}
