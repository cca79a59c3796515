#include "ui/tree/Delegate.h"

#include "ui/tree/NodeTree.h"

Delegate::Delegate(NodeTree* tree) : QObject(tree), m_tree(tree) {}

void Delegate::KeyPress(NodeTree*, QKeyEvent*, Node*) {}

void Delegate::ContextMenu(NodeTree*, QContextMenuEvent*, Node*) {}
