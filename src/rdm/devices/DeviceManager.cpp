#include "rdm/devices/DeviceManager.h"

#include "comm/CommManager.h"
#include "comm/Command.h"
#include "os/Trap.h"

#include <QSet>

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

void DeviceManager::MergeDiscovery(const QList<Device*>& found) {
    QSet<quint64> foundIds;
    for (Device* device : found) {
        DevicePtr owned(device);
        const quint64 uid = device->GetUid();
        foundIds.insert(uid);
        const auto existing = m_registry.find(uid);
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

void DeviceManager::OnCommandQueueIdle() {}

void DeviceManager::OnCommandCompleted(QUuid commandId) {
    m_commands.erase(commandId);
}
