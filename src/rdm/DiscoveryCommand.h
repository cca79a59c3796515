#pragma once

#include "comm/Command.h"
#include "rdm/IDiscoveryProtocol.h"
#include "rdm/devices/Device.h"

#include <vector>

#include <QList>

// "Fixture Discovery": wakes the fixtures with ten seconds of DMX, then runs every protocol
// it was given on every port of the widget, collecting the devices found, and reports how far
// it has come on the way (the protocols' own progress within their shares). It can be cancelled
// from any thread: the search stops before its next request and the ports left are skipped.
class DiscoveryCommand : public Command {
    Q_OBJECT
public:
    static constexpr qint64 kWakeUpMs = 10000;
    // The wake-up is waited in slices so that a cancel is seen within one.
    static constexpr qint64 kWakeUpSliceMs = 100;
    // The progress steps of the wake-up and of each protocol on each port.
    static constexpr int kShareSteps = 100;

    explicit DiscoveryCommand(QObject* parent = nullptr);

    // The protocols to run, and the devices the result starts from. Set before queueing.
    void SetLists(const QList<IDiscoveryProtocol*>& protocols, const QList<Device*>& devices);
    // The devices after the discovery: those it started from, then those found. The devices
    // found belong to whoever takes them (the device manager).
    QList<Device*> GetDevices() const;
    // The fast search unless told otherwise. Set before queueing.
    void SetSearch(DiscoverySearch search);
    DiscoverySearch GetSearch() const;

    bool Execute() override;
    bool IsCancellable() const override { return true; }
    // Looked at before every discovery request, so it answers without the usual pause.
    bool IsCancelled() override;

Q_SIGNALS:
    void NewDeviceFound(Device* device);
    void FinishedDiscovery(QUuid command);

private:
    QList<IDiscoveryProtocol*> m_protocols;
    QList<Device*> m_devices;
    DiscoverySearch m_search = DiscoverySearch::Fast;
    std::vector<DeviceUse> m_uses;  // the devices it starts from stay alive until it is gone
};
