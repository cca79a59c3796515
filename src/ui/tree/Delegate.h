#pragma once

#include <QObject>

class NodeTree;
class Node;
class QContextMenuEvent;
class QKeyEvent;
class QWidget;

// Serves one class of tree nodes: their view in the view area, their context menu and
// their keys. The tree owns its delegates; a delegate owns (through the view area) its view.
class Delegate : public QObject {
    Q_OBJECT
public:
    explicit Delegate(NodeTree* tree);

    NodeTree* Tree() const { return m_tree; }

    virtual void KeyPress(NodeTree* tree, QKeyEvent* event, Node* node);
    virtual void ContextMenu(NodeTree* tree, QContextMenuEvent* event, Node* node);
    // The view for the node, prepared to show it.
    virtual QWidget* View(Node* node) = 0;

private:
    NodeTree* m_tree;
};
