#include "ui/tree/DeviceManagerNode.h"

#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoRDMContentRoot.h"
#include "os/Trap.h"
#include "rdm/devices/DeviceManager.h"
#include "ui/tree/ContentFolderNode.h"
#include "ui/tree/DeviceNode.h"

DeviceManagerNode::DeviceManagerNode(DeviceManager* manager) : Node("Devices"), m_manager(manager) {
    setIcon(QIcon(":/Resources/truss-16.png"));
    setEditable(false);
    setDragEnabled(false);
    setDropEnabled(false);
    bool didConnectSucceed = bool(
        connect(manager, &DeviceManager::DeviceAdded, this, &DeviceManagerNode::AddDeviceNode));
    OS_TRAP_IF(!didConnectSucceed);
    didConnectSucceed = bool(connect(manager, &DeviceManager::DeviceRemoved, this,
                                     &DeviceManagerNode::RemoveDeviceNode));
    OS_TRAP_IF(!didConnectSucceed);
    for (Device* device : manager->Devices()) {
        AddDeviceNode(device);
    }
}

int DeviceManagerNode::RowOf(quint64 uid) const {
    for (int row = 0; row < rowCount(); ++row) {
        auto* node = dynamic_cast<DeviceNode*>(child(row, 0));
        if (node && node->GetUid() == uid) {
            return row;
        }
    }
    return -1;
}

void DeviceManagerNode::AddDeviceNode(Device* pDevice) {
    RemoveDeviceNode(pDevice);
    auto* address = new DeviceAddressNode(pDevice);
    appendRow({address, new DeviceNameNode(pDevice)});
    // An LED fixture shows the folders of its content; reading them starts here.
    if (auto* fixture = qobject_cast<LumoRDM*>(pDevice)) {
        ContentFolderNode::Follow(address, fixture->GetContentRoot());
    }
}

void DeviceManagerNode::RemoveDeviceNode(Device* pDevice) {
    const int row = RowOf(pDevice->GetUid());
    if (row >= 0) {
        removeRow(row);
    }
}
