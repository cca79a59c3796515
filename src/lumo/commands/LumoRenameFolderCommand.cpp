#include "lumo/commands/LumoRenameFolderCommand.h"

#include "lumo/LumoProtocol.h"

LumoRenameFolderCommand::LumoRenameFolderCommand(QObject* parent) : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Lumo Rename Folder"));
}

void LumoRenameFolderCommand::Setup(Device* device, const LumoFolderRecord& old,
                                    const LumoFolderRecord& now) {
    Store(device, [&] {
        m_old = old;
        m_new = now;
    });
    Describe(QStringLiteral("Rename folder %1").arg(old.name));
}

bool LumoRenameFolderCommand::Execute() {
    LumoRDM* device = TargetDevice();
    const LumoFolderRecord old = OldFolder();
    const LumoFolderRecord now = NewFolder();
    bool ok = device != nullptr;
    if (device) {
        LumoProtocol* protocol = LumoProtocol::ProtocolFor(device);
        if (old.number != now.number) {
            ok = protocol->MoveFolder(device, old, now, this);
        }
        // A name is written only to a folder that is where it should be.
        if (ok && old.name != now.name) {
            ok = protocol->SetFolderInfo(device, old, now, this);
        }
    }
    Finished(ResultOf(ok));
    Q_EMIT FinishedRenameFolder(GetId(), ok);
    return ok;
}

LumoFolderRecord LumoRenameFolderCommand::OldFolder() const {
    return Locked(m_old);
}

LumoFolderRecord LumoRenameFolderCommand::NewFolder() const {
    return Locked(m_new);
}
