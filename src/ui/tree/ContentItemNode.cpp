#include "ui/tree/ContentItemNode.h"

#include "os/Trap.h"

ContentItemNode::ContentItemNode(Content* item, Column column)
    : m_item(item), m_shown(item), m_column(column) {
    setEditable(false);
    setDragEnabled(false);
    setDropEnabled(false);
    bool didConnectSucceed =
        bool(connect(item, &ContentBase::NameChanged, this, &ContentItemNode::Update));
    OS_TRAP_IF(!didConnectSucceed);
    didConnectSucceed =
        bool(connect(item, &ContentBase::AddressChanged, this, &ContentItemNode::Update));
    OS_TRAP_IF(!didConnectSucceed);
    Update();
}

void ContentItemNode::Update() {
    if (!m_item) {
        return;
    }
    if (m_column == Column::Address) {
        setData(m_item->Address(), Qt::DisplayRole);
    } else {
        setText(m_item->Name());
    }
}
