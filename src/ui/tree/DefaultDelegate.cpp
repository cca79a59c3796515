#include "ui/tree/DefaultDelegate.h"

#include "ui/tree/NodeTree.h"
#include "ui/views/DefaultView.h"

#include <QStackedWidget>

DefaultDelegate::DefaultDelegate(NodeTree* tree) : Delegate(tree) {}

QWidget* DefaultDelegate::View(Node*) {
    if (!m_view) {
        m_view = new DefaultView(Tree()->ViewArea());
    }
    return m_view;
}
