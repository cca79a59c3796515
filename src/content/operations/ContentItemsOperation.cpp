#include "content/operations/ContentItemsOperation.h"

#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "content/ContentRegistry.h"

ContentItemsOperation::ContentItemsOperation(const QList<ContentBase*>& items,
                                             ContentFolder* target)
    : m_target(target ? target->Reference() : 0) {
    for (const ContentBase* item : items) {
        m_references.push_back(item->Reference());
    }
}

ContentFolder* ContentItemsOperation::Target() const {
    return qobject_cast<ContentFolder*>(ContentRegistry::Instance().Resolve(m_target));
}

QString ContentItemsOperation::TitleTo(const char* verb) const {
    const ContentFolder* target = Target();
    return QStringLiteral("%1 %2 to %3")
        .arg(QLatin1String(verb), ItemsText(), target ? target->Name() : QStringLiteral("(none)"));
}

QList<ContentBase*> ContentItemsOperation::Items() const {
    const ContentModelLock lock;
    QList<ContentBase*> items;
    for (const quint32 reference : m_references) {
        if (ContentBase* item = ContentRegistry::Instance().Resolve(reference)) {
            items.append(item);
        }
    }
    return items;
}

QString ContentItemsOperation::ItemsText() const {
    return ContentOperation::ItemsText(Items());
}

int ContentItemsOperation::ForEachItem(bool stopOnFailure,
                                       const std::function<int(int, ContentBase*)>& step) {
    bool failed = false;
    for (int index = 0; index < ItemCount(); ++index) {
        ContentBase* item = ContentRegistry::Instance().Resolve(m_references[size_t(index)]);
        if (!item) {
            continue;
        }
        const int result = step(index, item);
        if (result == Cancelled) {
            return failed ? Failed : Cancelled;
        }
        if (result != Succeeded) {
            failed = true;
            if (stopOnFailure) {
                break;
            }
        }
    }
    return failed ? Failed : Succeeded;
}
