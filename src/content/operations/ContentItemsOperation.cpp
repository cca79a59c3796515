#include "content/operations/ContentItemsOperation.h"

#include "comm/IFeedback.h"
#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "content/ContentRegistry.h"

ContentItemsOperation::ContentItemsOperation(const QList<ContentBase*>& items,
                                             ContentFolder* target)
    : m_target(target ? target->Reference() : 0),
      m_itemsText(ContentOperation::ItemsText(items)),
      m_targetName(target ? target->Name() : QStringLiteral("(none)")) {
    for (const ContentBase* item : items) {
        m_references.push_back(item->Reference());
        m_names.append(item->Name());
    }
}

ContentFolder* ContentItemsOperation::Target() const {
    return qobject_cast<ContentFolder*>(ContentRegistry::Instance().Resolve(m_target));
}

QString ContentItemsOperation::TitleTo(const char* verb) const {
    return QStringLiteral("%1 %2 to %3").arg(QLatin1String(verb), m_itemsText, m_targetName);
}

int ContentItemsOperation::Gone(IFeedback* feedback, const QString& name) {
    feedback->AddString(QStringLiteral("%1 is gone").arg(name), FeedbackStatusError);
    return Failed;
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

int ContentItemsOperation::ForEachItem(IFeedback* feedback, bool stopOnFailure,
                                       const std::function<int(int, ContentBase*)>& step) {
    bool failed = false;
    for (int index = 0; index < ItemCount(); ++index) {
        ContentBase* item = ContentRegistry::Instance().Resolve(m_references[size_t(index)]);
        const int result = item ? step(index, item) : Gone(feedback, m_names[index]);
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
