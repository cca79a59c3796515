#include "lumo/commands/LumoRemoveFolderCommand.h"

#include "lumo/LumoProtocol.h"

LumoRemoveFolderCommand::LumoRemoveFolderCommand(QObject* parent) : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Lumo Remove Folder"));
}

void LumoRemoveFolderCommand::Setup(Device* device, quint8 folder) {
    {
        QMutexLocker lock(&m_mutex);
        SetTarget(device);
        m_folder = folder;
    }
    AddString(QStringLiteral("Remove folder %1").arg(folder), FeedbackStatusNormal);
}

bool LumoRemoveFolderCommand::Execute() {
    LumoRDM* device = nullptr;
    quint8 folder = 0;
    {
        QMutexLocker lock(&m_mutex);
        device = Target();
        folder = m_folder;
    }
    const bool ok = device && LumoProtocol::ProtocolFor(device)->EraseFolder(device, folder, this);
    Finished(ResultOf(ok));
    Q_EMIT FinishedRemoveFolder(GetId(), ok);
    return ok;
}

quint8 LumoRemoveFolderCommand::Folder() const {
    QMutexLocker lock(&m_mutex);
    return m_folder;
}
