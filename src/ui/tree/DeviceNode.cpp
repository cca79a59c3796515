#include "ui/tree/DeviceNode.h"

#include "rdm/devices/Device.h"
#include "rdm/devices/RDMDevice.h"

DeviceNode::DeviceNode(Device* device) : m_device(device), m_uid(device->GetUid()) {
    setEditable(false);
    setDragEnabled(false);
    setDropEnabled(false);
}

DeviceNameNode::DeviceNameNode(Device* device) : DeviceNode(device) {
    connect(device, &Device::DetailsChanged, this, &DeviceNameNode::Update);
    Update();
}

QString DeviceNameNode::NameOf(const Device* device) {
    QString name;
    if (auto* rdm = qobject_cast<const RDMDevice*>(device)) {
        name = rdm->GetDisplayName();
    }
    if (name.isEmpty()) {
        name = device->GetModelText();
    }
    return QStringLiteral("%1 (%2)").arg(name, device->UidText());
}

void DeviceNameNode::Update() {
    if (Device* device = GetDevice()) {
        setText(NameOf(device));
        setToolTip(device->GetManufacturer() + " " + device->GetModelText());
    }
}

DeviceAddressNode::DeviceAddressNode(Device* device) : DeviceNode(device) {
    setIcon(QIcon(":/Resources/fixture-16.png"));
    // The device announces new addresses from the worker thread; they arrive queued.
    connect(device, &Device::AddressChanged, this, &DeviceAddressNode::OnAddressChanged);
    OnAddressChanged();
}

void DeviceAddressNode::OnAddressChanged() {
    if (Device* device = GetDevice()) {
        setData(int(device->GetDmxStartAddress()), Qt::DisplayRole);
    }
}
