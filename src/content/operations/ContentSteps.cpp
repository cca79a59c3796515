#include "content/operations/ContentSteps.h"

#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "content/ContentPolicyFolder.h"
#include "content/ContentType.h"
#include "content/PolicyBase.h"
#include "content/operations/FeedbackWrapper.h"

#include <QThread>

#include <functional>

namespace ContentSteps {

namespace {

void Report(IFeedback* feedback, const QString& text, FeedbackStatus status) {
    if (feedback) {
        feedback->AddString(text, status);
    }
}

// Calls the folder operation with the step's wrapper and waits for its end; a refusal is
// reported with `failure`.
int Run(IFeedback* feedback, Share share, const QString& failure,
        const std::function<bool(IFeedback*)>& call) {
    FeedbackWrapper wrapper(feedback, share.start, share.end);
    if (!call(&wrapper)) {
        Report(feedback, failure, FeedbackStatusError);
        return 1;
    }
    return wrapper.WaitResult();
}

// The item as `target` takes it: converted by the target's policy where it converts that
// class, else a clone. Null when neither gives an item.
std::unique_ptr<Content> CopyFor(const Content& item, const ContentFolder* target) {
    const auto* policyFolder = qobject_cast<const ContentPolicyFolder*>(target);
    const PolicyBase* policy = policyFolder ? policyFolder->Policy() : nullptr;
    if (policy && policy->CanConvertContent(target, ContentType::OfItem(item))) {
        if (std::unique_ptr<Content> converted = policy->ConvertContent(item)) {
            return converted;
        }
    }
    return item.Clone();
}

// Reads the item's data where its folder only lists it; the item then is the one read.
int ReadData(IFeedback* feedback, const Content** item, Share share) {
    ContentFolder* parent = (*item)->Parent();
    if (!parent) {
        return 0;
    }
    const QString name = (*item)->Name();
    const int address = (*item)->Address();
    FeedbackWrapper reading(feedback, share.start, share.start);
    if (!parent->Download({*item}, &reading)) {
        return 0;  // the folder holds the data itself
    }
    if (const int read = reading.WaitResult(); read != 0) {
        return read;
    }
    // The item read replaced the one that was asked for.
    const ContentModelLock lock;
    *item = qobject_cast<const Content*>(FindChild(parent, name, address));
    return *item ? 0 : 1;
}

}  // namespace

QString ParentName(const ContentBase* item) {
    const ContentModelLock lock;
    const ContentFolder* parent = item ? item->Parent() : nullptr;
    return parent ? parent->Name() : QStringLiteral("(none)");
}

QList<ContentBase*> Children(const ContentFolder* folder) {
    const ContentModelLock lock;
    QList<ContentBase*> children;
    for (int i = 0, count = folder->ChildCount(); i < count; ++i) {
        children.append(const_cast<ContentFolder*>(folder)->Child(i));
    }
    return children;
}

ContentBase* FindChild(const ContentFolder* folder, const QString& name, int address) {
    const ContentModelLock lock;
    for (int i = 0, count = folder->ChildCount(); i < count; ++i) {
        ContentBase* child = const_cast<ContentFolder*>(folder)->Child(i);
        if (child->Name() == name && child->Address() == address) {
            return child;
        }
    }
    return nullptr;
}

int CopyItem(IFeedback* feedback, const Content* item, ContentFolder* target, const QString& name,
             int address, Share share) {
    Report(feedback,
           QStringLiteral("Copying %1 from %2 to %3")
               .arg(item->Name(), ParentName(item), target->Name()),
           FeedbackStatusNormal);
    return CopyInto(feedback, item, target, name, address, share);
}

int CopyInto(IFeedback* feedback, const Content* item, ContentFolder* target, const QString& name,
             int address, Share share) {
    const QString itemName = item->Name();
    const QString failure = QStringLiteral("Can't copy %1 to %2").arg(itemName, target->Name());
    if (const int read = ReadData(feedback, &item, share); read != 0) {
        if (read == 1) {
            Report(feedback, failure, FeedbackStatusError);
        }
        return read;
    }
    std::unique_ptr<Content> copy;
    {
        const ContentModelLock lock;
        copy = CopyFor(*item, target);
    }
    if (!copy) {
        Report(feedback, QStringLiteral("Can't clone %1").arg(itemName), FeedbackStatusError);
        return 1;
    }
    copy->SetName(name);
    copy->SetAddress(address);
    // The copy lives where the folder that takes it lives.
    if (copy->thread() == QThread::currentThread() && target->thread() != copy->thread()) {
        copy->moveToThread(target->thread());
    }
    ContentList items;
    items.push_back(std::move(copy));
    return Run(feedback, share, failure,
               [&](IFeedback* step) { return target->AddContent(std::move(items), step); });
}

int MoveItem(IFeedback* feedback, ContentBase* item, ContentFolder* target, Share share) {
    const QString itemName = item->Name();
    Report(
        feedback,
        QStringLiteral("Moving %1 from %2 to %3").arg(itemName, ParentName(item), target->Name()),
        FeedbackStatusNormal);
    return Run(feedback, share, QStringLiteral("Can't move %1 to %2").arg(itemName, target->Name()),
               [&](IFeedback* step) { return target->Move(item, step); });
}

int CreateFolder(IFeedback* feedback, ContentFolder* parent, const QString& name, int address,
                 ContentFolder** created, Share share) {
    Report(feedback, QStringLiteral("Creating folder %1 in %2").arg(name, parent->Name()),
           FeedbackStatusNormal);
    const int result = Run(feedback, share,
                           QStringLiteral("Can't create folder %1 in %2").arg(name, parent->Name()),
                           [&](IFeedback* step) { return parent->AddFolder(name, address, step); });
    if (result != 0) {
        return result;
    }
    const ContentModelLock lock;
    ContentFolder* folder = nullptr;
    for (int i = 0, count = parent->ChildCount(); i < count && !folder; ++i) {
        auto* child = qobject_cast<ContentFolder*>(parent->Child(i));
        if (child && child->Name() == name.left(ContentBase::kMaxNameLength)) {
            folder = child;
        }
    }
    if (!folder) {
        Report(
            feedback,
            QStringLiteral("Newly created folder %1 not available in %2").arg(name, parent->Name()),
            FeedbackStatusError);
        return 1;
    }
    if (created) {
        *created = folder;
    }
    return 0;
}

namespace {

// A change made by the item's folder (rename, renumber, delete).
int ParentStep(IFeedback* feedback, ContentBase* item, const QString& line, const QString& failure,
               Share share, const std::function<bool(ContentFolder*, IFeedback*)>& call) {
    ContentFolder* parent = item->Parent();
    if (!parent) {
        Report(feedback, QStringLiteral("No parent for %1").arg(item->Name()), FeedbackStatusError);
        return 1;
    }
    Report(feedback, line, FeedbackStatusNormal);
    return Run(feedback, share, failure, [&](IFeedback* step) { return call(parent, step); });
}

}  // namespace

int Rename(IFeedback* feedback, ContentBase* item, const QString& name, Share share) {
    const int address = item->Address();
    return ParentStep(
        feedback, item,
        QStringLiteral("Renaming %1 in %2 to %3").arg(item->Name(), ParentName(item), name),
        QStringLiteral("Can't rename %1 to %2").arg(item->Name(), name), share,
        [&](ContentFolder* parent, IFeedback* step) {
            return parent->Rename(item, name, address, step);
        });
}

int Renumber(IFeedback* feedback, ContentBase* item, int address, Share share) {
    const QString name = item->Name();
    return ParentStep(feedback, item,
                      QStringLiteral("Renumbering %1 in %2 from %3 to %4")
                          .arg(name, ParentName(item))
                          .arg(item->Address())
                          .arg(address),
                      QStringLiteral("Can't renumber %1 to %2").arg(name).arg(address), share,
                      [&](ContentFolder* parent, IFeedback* step) {
                          return parent->Rename(item, name, address, step);
                      });
}

int Delete(IFeedback* feedback, ContentBase* item, Share share) {
    return ParentStep(
        feedback, item, QStringLiteral("Deleting %1 in %2").arg(item->Name(), ParentName(item)),
        QStringLiteral("Can't delete %1").arg(item->Name()), share,
        [&](ContentFolder* parent, IFeedback* step) { return parent->Remove(item, step); });
}

}  // namespace ContentSteps
