#pragma once

#include <QHash>
#include <QTreeView>

class Delegate;
class HighlightDelegate;
class Node;
class NodeModel;
class QStackedWidget;

// The device and content tree. It knows nothing about devices or content: every item is a
// node, and the delegate registered for the node's class supplies its view (shown in the
// view area), its context menu and its keys.
class NodeTree : public QTreeView {
    Q_OBJECT
public:
    NodeTree(QStackedWidget* viewArea, QWidget* parent = nullptr);
    ~NodeTree() override;

    NodeModel* Model() const { return m_model; }
    QStackedWidget* ViewArea() const { return m_viewArea; }
    // Appends a top-level node (the model owns it).
    void AddTopLevelNode(Node* node);

    // The delegate of the node's exact class, else the default one, else none.
    Delegate* DelegateFor(const Node* node) const;
    Node* NodeAt(const QModelIndex& index) const;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The node under a drag position that takes the data, with the action it takes.
    Node* DropTarget(QDropEvent* event, QModelIndex* index, Qt::DropAction* action) const;
    void ClearHighlight();

    QStackedWidget* m_viewArea;  // not owned
    NodeModel* m_model;          // child of this tree
    HighlightDelegate* m_highlight;
    QHash<QString, Delegate*> m_delegates;  // children of this tree
};
