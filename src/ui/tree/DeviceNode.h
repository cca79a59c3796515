#pragma once

#include "rdm/devices/Device.h"
#include "ui/tree/Node.h"

#include <QPointer>

// A tree item that stands for one device; its id is kept so that the row can be found
// again after the device object has been replaced.
class DeviceNode : public Node {
    Q_OBJECT
public:
    explicit DeviceNode(Device* device);

    Device* GetDevice() const { return m_device; }
    quint64 GetUid() const { return m_uid; }

private:
    QPointer<Device> m_device;
    const quint64 m_uid;
};

// The name column of a device row: "%1 (%2)", the device's name (its label, else its model)
// and its id.
class DeviceNameNode : public DeviceNode {
    Q_OBJECT
public:
    explicit DeviceNameNode(Device* device);
    static QString NameOf(const Device* device);

public Q_SLOTS:
    void Update();
};

// The address column of a device row: the DMX start address, kept current.
class DeviceAddressNode : public DeviceNode {
    Q_OBJECT
public:
    explicit DeviceAddressNode(Device* device);

public Q_SLOTS:
    void OnAddressChanged();
};
