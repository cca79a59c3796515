#include "lumo/commands/LumoContentDiscoveryCommand.h"

#include "lumo/LumoProtocol.h"

LumoContentDiscoveryCommand::LumoContentDiscoveryCommand(QObject* parent)
    : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Lumo Content Discovery"));
}

void LumoContentDiscoveryCommand::Setup(Device* device, quint8 folder) {
    Store(device, [&] { m_folder = folder; });
    Describe(QStringLiteral("Discover content for folder %1").arg(folder));
}

bool LumoContentDiscoveryCommand::Execute() {
    LumoRDM* device = TargetDevice();
    const quint8 folder = Folder();
    bool ok = false;
    QList<LumoFolderRecord> folders;
    QList<LumoFileRecord> files;
    if (device) {
        LumoProtocol* protocol = LumoProtocol::ProtocolFor(device);
        ok = folder == 0 ? protocol->GetFolderInfo(device, 0, folders, this)
                         : protocol->GetFileInfo(device, folder, 0, files, this);
    }
    {
        QMutexLocker lock(&m_mutex);
        m_folders = folders;
        m_files = files;
    }
    Finished(ResultOf(ok));
    Q_EMIT FinishedContentDiscovery(GetId(), ok);
    return ok;
}

quint8 LumoContentDiscoveryCommand::Folder() const {
    return Locked(m_folder);
}

QList<LumoFolderRecord> LumoContentDiscoveryCommand::Folders() const {
    return Locked(m_folders);
}

QList<LumoFileRecord> LumoContentDiscoveryCommand::Files() const {
    return Locked(m_files);
}
