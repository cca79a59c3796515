#include "lumo/commands/LumoAddFolderCommand.h"

#include "lumo/LumoProtocol.h"

LumoAddFolderCommand::LumoAddFolderCommand(QObject* parent) : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Lumo Add Folder"));
}

void LumoAddFolderCommand::Setup(Device* device, const LumoFolderRecord& folder) {
    Store(device, [&] { m_folder = folder; });
    Describe(QStringLiteral("Adding folder %1").arg(folder.name));
}

bool LumoAddFolderCommand::Execute() {
    LumoRDM* device = TargetDevice();
    const bool ok =
        device && LumoProtocol::ProtocolFor(device)->SetFolderInfo(device, {}, Folder(), this);
    Finished(ResultOf(ok));
    Q_EMIT FinishedAddFolder(GetId(), ok);
    return ok;
}

LumoFolderRecord LumoAddFolderCommand::Folder() const {
    return Locked(m_folder);
}
