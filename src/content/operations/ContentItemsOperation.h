#pragma once

#include "content/operations/ContentOperation.h"

#include <QStringList>

#include <functional>
#include <vector>

// An operation on a list of content objects, handled in list order. It keeps the objects by
// registry reference, so one deleted meanwhile is skipped rather than touched.
class ContentFolder;

class ContentItemsOperation : public ContentOperation {
    Q_OBJECT

public:
    // The objects that are still alive, in order.
    QList<ContentBase*> Items() const;

protected:
    // `target`: the folder the items go to, for operations that have one.
    explicit ContentItemsOperation(const QList<ContentBase*>& items,
                                   ContentFolder* target = nullptr);

    // The target while it is alive, else null.
    ContentFolder* Target() const;
    // "<verb> <items> to <target>", as they were named when the operation was made.
    QString TitleTo(const char* verb) const;

    // The multi-item loop: runs `step` (0, 1 or 2) on each object. A 2 ends it with 2 (1 when
    // an item failed before); a 1 marks it failed and ends it when `stopOnFailure`; an object
    // deleted meanwhile is reported and counts as failed. The result is then 1 when any item
    // failed, else 0.
    int ForEachItem(IFeedback* feedback, bool stopOnFailure,
                    const std::function<int(int index, ContentBase*)>& step);
    int ItemCount() const { return int(m_references.size()); }
    // The items as they were named when the operation was made (a title stays the same
    // while the items are replaced or deleted).
    QString ItemsText() const { return m_itemsText; }

private:
    static int Gone(IFeedback* feedback, const QString& name);

    std::vector<quint32> m_references;
    QStringList m_names;
    quint32 m_target = 0;
    QString m_itemsText;
    QString m_targetName;
};
