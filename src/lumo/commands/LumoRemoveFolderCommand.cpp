#include "lumo/commands/LumoRemoveFolderCommand.h"

#include "lumo/LumoProtocol.h"

LumoRemoveFolderCommand::LumoRemoveFolderCommand(QObject* parent) : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Lumo Remove Folder"));
}

void LumoRemoveFolderCommand::Setup(Device* device, quint8 folder) {
    Store(device, [&] { m_folder = folder; });
    Describe(QStringLiteral("Remove folder %1").arg(folder));
}

bool LumoRemoveFolderCommand::Execute() {
    LumoRDM* device = TargetDevice();
    const bool ok =
        device && LumoProtocol::ProtocolFor(device)->EraseFolder(device, Folder(), this);
    Finished(ResultOf(ok));
    Q_EMIT FinishedRemoveFolder(GetId(), ok);
    return ok;
}

quint8 LumoRemoveFolderCommand::Folder() const {
    return Locked(m_folder);
}
