#pragma once

#include "comm/Command.h"
#include "rdm/devices/Device.h"

#include <vector>

#include <QList>

class IDiscoveryProtocol;

// "Fixture Discovery": wakes the fixtures with ten seconds of DMX, then runs every protocol
// it was given on every port of the widget, collecting the devices found.
class DiscoveryCommand : public Command {
    Q_OBJECT
public:
    static constexpr qint64 kWakeUpMs = 10000;

    explicit DiscoveryCommand(QObject* parent = nullptr);

    // The protocols to run, and the devices the result starts from. Set before queueing.
    void SetLists(const QList<IDiscoveryProtocol*>& protocols, const QList<Device*>& devices);
    // The devices after the discovery: those it started from, then those found. The devices
    // found belong to whoever takes them (the device manager).
    QList<Device*> GetDevices() const;

    bool Execute() override;

Q_SIGNALS:
    void NewDeviceFound(Device* device);
    void FinishedDiscovery(QUuid command);

private:
    QList<IDiscoveryProtocol*> m_protocols;
    QList<Device*> m_devices;
    std::vector<DeviceUse> m_uses;  // the devices it starts from stay alive until it is gone
};
