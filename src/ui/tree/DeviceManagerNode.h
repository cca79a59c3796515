#pragma once

#include "ui/tree/Node.h"

class Device;
class DeviceManager;

// "Devices": one child row per registered device (address and name), following the device
// manager. Rows are matched by device id, so a fixture found again keeps one row.
class DeviceManagerNode : public Node {
    Q_OBJECT
public:
    explicit DeviceManagerNode(DeviceManager* manager);

    DeviceManager* Manager() const { return m_manager; }
    // The row of the device with this id, or -1.
    int RowOf(quint64 uid) const;

public Q_SLOTS:
    void AddDeviceNode(Device* pDevice);
    void RemoveDeviceNode(Device* pDevice);

private:
    DeviceManager* m_manager;
};
