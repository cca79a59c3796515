#pragma once

#include "content/Content.h"
#include "ui/tree/Node.h"

#include <QPointer>

// A tree item that stands for one content item. Rows of items are [address, name] like those
// of folders; each column follows the item's address or name.
class ContentItemNode : public Node {
    Q_OBJECT
public:
    enum class Column { Address, Name };

    ContentItemNode(Content* item, Column column);

    // The item, or null once it is gone.
    Content* GetContent() const { return m_item; }
    // Whether the node stands for `item` (also once the item is gone).
    bool Shows(const ContentBase* item) const { return m_shown == item; }

public Q_SLOTS:
    void Update();

private:
    QPointer<Content> m_item;
    const ContentBase* m_shown;  // compared only, never followed
    Column m_column;
};
