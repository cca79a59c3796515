#include "ui/tree/NodeTree.h"

#include "ui/tree/ContentFolderDelegate.h"
#include "ui/tree/ContentFolderNode.h"
#include "ui/tree/DefaultDelegate.h"
#include "ui/tree/DeviceDelegate.h"
#include "ui/tree/DeviceManagerDelegate.h"
#include "ui/tree/DeviceManagerNode.h"
#include "ui/tree/DeviceNode.h"
#include "ui/tree/HighlightDelegate.h"
#include "ui/tree/Node.h"
#include "ui/tree/NodeModel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStackedWidget>

NodeTree::NodeTree(QStackedWidget* viewArea, QWidget* parent)
    : QTreeView(parent),
      m_viewArea(viewArea),
      m_model(new NodeModel(this)),
      m_highlight(new HighlightDelegate(this)) {
    setModel(m_model);
    setItemDelegate(m_highlight);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setAnimated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    header()->setStretchLastSection(true);
    setColumnWidth(0, 150);  // room for the numbers of a fixture's folders, three levels down

    m_delegates.insert(DeviceManagerNode::staticMetaObject.className(),
                       new DeviceManagerDelegate(this));
    m_delegates.insert(DeviceNameNode::staticMetaObject.className(), new DeviceDelegate(this));
    m_delegates.insert(DeviceAddressNode::staticMetaObject.className(), new DeviceDelegate(this));
    auto* content = new ContentFolderDelegate(this);
    m_delegates.insert(ContentNameNode::staticMetaObject.className(), content);
    m_delegates.insert(ContentAddressNode::staticMetaObject.className(), content);
    m_delegates.insert(QString(), new DefaultDelegate(this));
}

NodeTree::~NodeTree() = default;

void NodeTree::AddTopLevelNode(Node* node) {
    m_model->appendRow(node);
    setFirstColumnSpanned(node->row(), QModelIndex(), true);
}

Node* NodeTree::NodeAt(const QModelIndex& index) const {
    return m_model->NodeFromIndex(index);
}

Delegate* NodeTree::DelegateFor(const Node* node) const {
    if (!node) {
        return nullptr;
    }
    if (Delegate* own = m_delegates.value(node->metaObject()->className())) {
        return own;
    }
    return m_delegates.value(QString());
}

void NodeTree::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    Node* node = NodeAt(current);
    Delegate* delegate = DelegateFor(node);
    if (!delegate) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (QWidget* view = delegate->View(node)) {
        if (m_viewArea->indexOf(view) < 0) {
            m_viewArea->addWidget(view);
        }
        m_viewArea->setCurrentWidget(view);
    }
    QApplication::restoreOverrideCursor();
}

void NodeTree::keyPressEvent(QKeyEvent* event) {
    event->setAccepted(false);
    Node* node = NodeAt(currentIndex());
    if (Delegate* delegate = DelegateFor(node)) {
        delegate->KeyPress(this, event, node);
    }
    if (!event->isAccepted()) {
        QTreeView::keyPressEvent(event);
    }
}

void NodeTree::contextMenuEvent(QContextMenuEvent* event) {
    Node* node = NodeAt(indexAt(event->pos()));
    if (Delegate* delegate = DelegateFor(node)) {
        delegate->ContextMenu(this, event, node);
    }
}

Node* NodeTree::DropTarget(QDropEvent* event, QModelIndex* index, Qt::DropAction* action) const {
    *index = indexAt(event->position().toPoint());
    Node* node = NodeAt(*index);
    if (!node) {
        return nullptr;
    }
    const Qt::DropAction proposed = event->proposedAction();
    if (node->CanDrop(event->mimeData(), proposed)) {
        *action = proposed;
        return node;
    }
    for (Qt::DropAction other : {Qt::MoveAction, Qt::CopyAction, Qt::LinkAction}) {
        if ((event->possibleActions() & other) && node->CanDrop(event->mimeData(), other)) {
            *action = other;
            return node;
        }
    }
    return nullptr;
}

void NodeTree::ClearHighlight() {
    m_highlight->SetDropIndex(QModelIndex());
    viewport()->update();
}

void NodeTree::dragEnterEvent(QDragEnterEvent* event) {
    event->accept();
    setState(DraggingState);
}

void NodeTree::dragMoveEvent(QDragMoveEvent* event) {
    QModelIndex index;
    Qt::DropAction action = Qt::IgnoreAction;
    if (DropTarget(event, &index, &action)) {
        event->setDropAction(action);
        event->accept();
        m_highlight->SetDropIndex(index);
    } else {
        event->ignore();
        m_highlight->SetDropIndex(QModelIndex());
    }
    viewport()->update();
}

void NodeTree::dragLeaveEvent(QDragLeaveEvent* event) {
    QTreeView::dragLeaveEvent(event);
    ClearHighlight();
}

void NodeTree::dropEvent(QDropEvent* event) {
    QModelIndex index;
    Qt::DropAction action = Qt::IgnoreAction;
    if (Node* node = DropTarget(event, &index, &action)) {
        event->setDropAction(action);
        event->accept();
        node->Drop(action, event->mimeData());
    } else {
        event->ignore();
    }
    setState(NoState);
    ClearHighlight();
}
