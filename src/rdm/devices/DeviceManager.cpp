#include "rdm/devices/DeviceManager.h"

#include "comm/CommManager.h"
#include "comm/Command.h"
#include "orx/ORXDevice.h"
#include "orx/ORXProtocol.h"
#include "os/Trap.h"
#include "rdm/DiscoveryCommand.h"
#include "rdm/RDMProtocol.h"

#include <QSet>

#include <algorithm>

DeviceManager* DeviceManager::Instance() {
    static DeviceManager* const manager = new DeviceManager(CommManager::Instance());
    return manager;
}

DeviceManager::DeviceManager(CommManager* commManager, QObject* parent)
    : QObject(parent), m_commManager(commManager) {
    if (!m_commManager) {
        return;
    }
    connect(m_commManager, &CommManager::CommandQueueIdle, this,
            &DeviceManager::OnCommandQueueIdle);
    const bool didConnectSucceed = bool(connect(m_commManager, &CommManager::CommandCompleted, this,
                                                &DeviceManager::OnCommandCompleted));
    OS_TRAP_IF(!didConnectSucceed);
}

DeviceManager::~DeviceManager() = default;

QList<Device*> DeviceManager::Devices() const {
    QList<Device*> devices;
    for (const auto& [uid, device] : m_registry) {
        devices.append(device.get());
    }
    return devices;
}

Device* DeviceManager::FindDevice(quint64 uid) const {
    const auto it = m_registry.find(uid);
    return it == m_registry.end() ? nullptr : it->second.get();
}

namespace {

bool IsOrx(const Device* device) {
    return qobject_cast<const ORXDevice*>(device) != nullptr;
}
bool IsNotOrx(const Device* device) {
    return !IsOrx(device);
}
bool Nothing(const Device*) {
    return false;
}

}  // namespace

void DeviceManager::DiscoverAll() {
    Discover({ORXProtocol::Instance(), RDMProtocol::Instance()}, &Nothing);
}

void DeviceManager::DiscoverOrx() {
    Discover({ORXProtocol::Instance()}, &IsNotOrx);
}

void DeviceManager::DiscoverRdm() {
    Discover({RDMProtocol::Instance()}, &IsOrx);
}

void DeviceManager::Discover(const QList<IDiscoveryProtocol*>& protocols,
                             bool (*keep)(const Device*)) {
    if (!m_commManager) {
        return;
    }
    QList<Device*> kept;
    for (const auto& [uid, device] : m_registry) {
        if (keep(device.get())) {
            kept.append(device.get());
        }
    }
    auto* command = new DiscoveryCommand;
    command->SetLists(protocols, kept);
    command->SetSearch(m_search);
    const bool didConnectSucceed = bool(connect(command, &DiscoveryCommand::FinishedDiscovery, this,
                                                &DeviceManager::OnFinishedDiscovery));
    OS_TRAP_IF(!didConnectSucceed);
    KeepCommand(command);
    m_commManager->QueueCommand(command);
}

void DeviceManager::OnFinishedDiscovery(QUuid commandId) {
    auto* command = qobject_cast<DiscoveryCommand*>(GetCommand(commandId));
    if (command) {
        MergeDiscovery(command->GetDevices());
    }
}

void DeviceManager::MergeDiscovery(const QList<Device*>& found) {
    QSet<quint64> foundIds;
    for (Device* device : found) {
        if (IsRetired(device)) {
            continue;  // a kept device that a later discovery has replaced meanwhile
        }
        const quint64 uid = device->GetUid();
        foundIds.insert(uid);
        const auto existing = m_registry.find(uid);
        if (existing != m_registry.end() && existing->second.get() == device) {
            continue;  // a registered device the discovery kept
        }
        DevicePtr owned(device);
        if (existing != m_registry.end()) {
            DevicePtr old = std::move(existing->second);
            m_registry.erase(existing);
            Q_EMIT DeviceRemoved(device);  // listeners remove by id
            Retire(std::move(old));
        }
        m_registry.emplace(uid, std::move(owned));
        Q_EMIT DeviceAdded(device);
    }
    for (auto it = m_registry.begin(); it != m_registry.end();) {
        if (foundIds.contains(it->first)) {
            ++it;
            continue;
        }
        DevicePtr gone = std::move(it->second);
        it = m_registry.erase(it);
        Q_EMIT DeviceRemoved(gone.get());
        Retire(std::move(gone));
    }
}

bool DeviceManager::IsRetired(const Device* device) const {
    return std::any_of(m_retired.begin(), m_retired.end(),
                       [device](const DevicePtr& retired) { return retired.get() == device; });
}

void DeviceManager::Retire(DevicePtr device) {
    connect(device.get(), &Device::Unused, this, &DeviceManager::ReleaseRetired,
            Qt::QueuedConnection);
    m_retired.push_back(std::move(device));
    ReleaseRetired();
}

void DeviceManager::ReleaseRetired() {
    std::erase_if(m_retired, [](const DevicePtr& device) { return device->Uses() == 0; });
}

void DeviceManager::KeepCommand(Command* command) {
    m_commands[command->GetId()].reset(command);
}

Command* DeviceManager::GetCommand(const QUuid& id) const {
    const auto it = m_commands.find(id);
    return it == m_commands.end() ? nullptr : it->second.get();
}

bool DeviceManager::UpgradeDevices(const QList<Device*>& devices, const QString& file) {
    if (!m_commManager || devices.isEmpty()) {
        return false;
    }
    const QString model = devices.first()->GetModelText();
    const bool led = FirmwarePackage::ForModel(model) != nullptr;
    Command* command = &m_firmwareUpgrade;
    if (led) {
        LumoUpgradeCommand* upgrade = FirmwarePackage::ForModel(model) == &FirmwarePackage::kMarqa
                                          ? static_cast<LumoUpgradeCommand*>(&m_marqaUpgrade)
                                          : &m_solviUpgrade;
        command = upgrade;
    }
    // A held command runs one upgrade at a time.
    if (m_upgrading.contains(command->GetId())) {
        return false;
    }
    if (led) {
        static_cast<LumoUpgradeCommand*>(command)->Setup(devices, file);
    } else {
        m_firmwareUpgrade.Setup(devices, ORXProtocol::Instance(), file);
    }
    m_upgrading.insert(command->GetId());
    m_commManager->QueueCommand(command);
    if (!led) {
        DiscoverOrx();  // runs after the upload, and finds the fixtures with their new firmware
    }
    return true;
}

void DeviceManager::OnCommandQueueIdle() {}

void DeviceManager::OnCommandCompleted(QUuid commandId) {
    m_commands.erase(commandId);
    m_upgrading.remove(commandId);
}
