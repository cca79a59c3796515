#include "lumo/commands/LumoAddFolderCommand.h"

#include "lumo/LumoProtocol.h"

LumoAddFolderCommand::LumoAddFolderCommand(QObject* parent) : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Lumo Add Folder"));
}

void LumoAddFolderCommand::Setup(Device* device, const LumoFolderRecord& folder) {
    {
        QMutexLocker lock(&m_mutex);
        SetTarget(device);
        m_folder = folder;
    }
    AddString(QStringLiteral("Adding folder %1").arg(folder.name), FeedbackStatusNormal);
}

bool LumoAddFolderCommand::Execute() {
    LumoRDM* device = nullptr;
    LumoFolderRecord folder;
    {
        QMutexLocker lock(&m_mutex);
        device = Target();
        folder = m_folder;
    }
    const bool ok =
        device && LumoProtocol::ProtocolFor(device)->SetFolderInfo(device, {}, folder, this);
    Finished(ResultOf(ok));
    Q_EMIT FinishedAddFolder(GetId(), ok);
    return ok;
}

LumoFolderRecord LumoAddFolderCommand::Folder() const {
    QMutexLocker lock(&m_mutex);
    return m_folder;
}
