#include "ui/tree/DeviceManagerDelegate.h"

#include "rdm/devices/DeviceManager.h"
#include "ui/tree/DeviceManagerNode.h"
#include "ui/tree/NodeTree.h"
#include "ui/views/DeviceListView.h"

#include <QStackedWidget>

DeviceManagerDelegate::DeviceManagerDelegate(NodeTree* tree) : Delegate(tree) {}

QWidget* DeviceManagerDelegate::View(Node* node) {
    if (!m_view) {
        auto* managerNode = dynamic_cast<DeviceManagerNode*>(node);
        DeviceManager* manager = managerNode ? managerNode->Manager() : DeviceManager::Instance();
        m_view = new DeviceListView(manager, Tree()->ViewArea());
    }
    m_view->Refresh();
    return m_view;
}
