#pragma once

#include "ui/tree/Delegate.h"

#include <QPointer>

class ContentFolderView;

// For the rows of content folders: the folder's content view, the content actions on the
// folder in its context menu and on its keys.
class ContentFolderDelegate : public Delegate {
    Q_OBJECT
public:
    explicit ContentFolderDelegate(NodeTree* tree);

    void KeyPress(NodeTree* tree, QKeyEvent* event, Node* node) override;
    void ContextMenu(NodeTree* tree, QContextMenuEvent* event, Node* node) override;
    QWidget* View(Node* node) override;

private:
    QPointer<ContentFolderView> m_view;  // owned by the view area
};
