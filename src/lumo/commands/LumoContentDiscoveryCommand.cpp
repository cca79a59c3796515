#include "lumo/commands/LumoContentDiscoveryCommand.h"

#include "lumo/LumoProtocol.h"

LumoContentDiscoveryCommand::LumoContentDiscoveryCommand(QObject* parent)
    : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Lumo Content Discovery"));
}

void LumoContentDiscoveryCommand::Setup(Device* device, quint8 folder) {
    {
        QMutexLocker lock(&m_mutex);
        SetTarget(device);
        m_folder = folder;
    }
    AddString(QStringLiteral("Discover content for folder %1").arg(folder), FeedbackStatusNormal);
}

bool LumoContentDiscoveryCommand::Execute() {
    LumoRDM* device = nullptr;
    quint8 folder = 0;
    {
        QMutexLocker lock(&m_mutex);
        device = Target();
        folder = m_folder;
    }
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
    QMutexLocker lock(&m_mutex);
    return m_folder;
}

QList<LumoFolderRecord> LumoContentDiscoveryCommand::Folders() const {
    QMutexLocker lock(&m_mutex);
    return m_folders;
}

QList<LumoFileRecord> LumoContentDiscoveryCommand::Files() const {
    QMutexLocker lock(&m_mutex);
    return m_files;
}
