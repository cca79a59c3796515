#include "ui/tree/ContentFolderDelegate.h"

#include "content/ContentFolder.h"
#include "ui/actions/ContentActionMenu.h"
#include "ui/tree/ContentFolderNode.h"
#include "ui/tree/NodeTree.h"
#include "ui/views/ContentFolderView.h"

#include <QContextMenuEvent>
#include <QStackedWidget>

namespace {

ContentFolder* FolderOf(Node* node) {
    auto* folderNode = dynamic_cast<ContentFolderNode*>(node);
    return folderNode ? folderNode->GetFolder() : nullptr;
}

}  // namespace

ContentFolderDelegate::ContentFolderDelegate(NodeTree* tree) : Delegate(tree) {}

void ContentFolderDelegate::KeyPress(NodeTree* tree, QKeyEvent* event, Node* node) {
    if (ContentFolder* folder = FolderOf(node)) {
        ContentActionMenu::HandleKey(event, folder, {folder}, tree);
    }
}

void ContentFolderDelegate::ContextMenu(NodeTree* tree, QContextMenuEvent* event, Node* node) {
    if (ContentFolder* folder = FolderOf(node)) {
        ContentActionMenu::Popup(folder->Parent(), {folder}, folder, tree, event->globalPos());
    }
}

QWidget* ContentFolderDelegate::View(Node* node) {
    if (!m_view) {
        m_view = new ContentFolderView(Tree()->ViewArea());
    }
    m_view->SetFolder(FolderOf(node));
    return m_view;
}
