#pragma once

#include "firmware/FirmwareUpgradeCommand.h"
#include "firmware/LumoUpgradeCommand.h"
#include "rdm/IDiscoveryProtocol.h"
#include "rdm/devices/Device.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QUuid>

#include <map>
#include <memory>
#include <vector>

class Command;
class CommManager;

// The one registry of fixtures, by id. A finished discovery replaces its contents: fixtures
// found again are replaced by their new objects, fixtures not found are removed. Removed
// objects are released once no queued command or running operation uses them.
class DeviceManager : public QObject {
    Q_OBJECT
public:
    // The process-wide manager, created on first use on the window thread.
    static DeviceManager* Instance();

    explicit DeviceManager(CommManager* commManager, QObject* parent = nullptr);
    ~DeviceManager() override;

    // The registered devices in id order.
    QList<Device*> Devices() const;
    Device* FindDevice(quint64 uid) const;

    // Queue a discovery with every protocol, with the talk-back protocol only, or with RDM
    // only. A discovery replaces the registered devices of the protocols it ran and keeps
    // the others. Nothing happens without a command manager.
    void DiscoverAll();
    void DiscoverOrx();
    void DiscoverRdm();
    // How the RDM discoveries queued from now on search: fast (the default) or thorough.
    void SetDiscoverySearch(DiscoverySearch search) { m_search = search; }
    DiscoverySearch GetDiscoverySearch() const { return m_search; }

    // Queues the upgrade of the devices with the file: the package upgrade of their LED
    // fixture family (by the first device's model), else the legacy firmware upload followed
    // by a legacy discovery. False when nothing was queued: no command manager, no devices,
    // or the same kind of upgrade is still running.
    bool UpgradeDevices(const QList<Device*>& devices, const QString& file);

    // Takes the devices a discovery found (they must live on this manager's thread) and
    // merges them into the registry.
    void MergeDiscovery(const QList<Device*>& found);

    // Keeps a command this manager queued until CommandCompleted names it.
    void KeepCommand(Command* command);
    bool HasCommand(const QUuid& id) const { return m_commands.count(id) != 0; }
    Command* GetCommand(const QUuid& id) const;
    int RetiredCount() const { return int(m_retired.size()); }

Q_SIGNALS:
    void DeviceAdded(Device* pDevice);
    void DeviceRemoved(Device* pDevice);

public Q_SLOTS:
    void OnFinishedDiscovery(QUuid commandId);
    void OnCommandQueueIdle();
    void OnCommandCompleted(QUuid commandId);

private:
    struct LaterDeleter {
        void operator()(QObject* object) const { object->deleteLater(); }
    };
    using DevicePtr = std::unique_ptr<Device, LaterDeleter>;

    // Queues a discovery with these protocols, starting from the registered devices that
    // `keep` selects.
    void Discover(const QList<IDiscoveryProtocol*>& protocols, bool (*keep)(const Device*));
    void Retire(DevicePtr device);
    bool IsRetired(const Device* device) const;
    void ReleaseRetired();

    CommManager* m_commManager;
    DiscoverySearch m_search = DiscoverySearch::Fast;
    std::map<quint64, DevicePtr> m_registry;
    std::vector<DevicePtr> m_retired;
    std::map<QUuid, std::unique_ptr<Command, LaterDeleter>> m_commands;
    // Held for the manager's life and reused for every upgrade.
    FirmwareUpgradeCommand m_firmwareUpgrade;
    SolviUpgradeCommand m_solviUpgrade;
    MarqaUpgradeCommand m_marqaUpgrade;
    QSet<QUuid> m_upgrading;  // the upgrade commands queued and not yet completed
};
