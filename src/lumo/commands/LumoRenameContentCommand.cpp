#include "lumo/commands/LumoRenameContentCommand.h"

#include "lumo/LumoProtocol.h"

LumoRenameContentCommand::LumoRenameContentCommand(QObject* parent) : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Lumo Rename Content"));
}

void LumoRenameContentCommand::Setup(Device* device, const LumoFileRecord& old,
                                     const LumoFileRecord& now) {
    Store(device, [&] {
        m_old = old;
        m_new = now;
    });
    Describe(QStringLiteral("Rename %1").arg(old.name));
}

bool LumoRenameContentCommand::Execute() {
    LumoRDM* device = TargetDevice();
    const LumoFileRecord old = OldFile();
    const LumoFileRecord now = NewFile();
    bool ok = device != nullptr;
    if (device) {
        LumoProtocol* protocol = LumoProtocol::ProtocolFor(device);
        if (old.folder != now.folder || old.file != now.file) {
            ok = protocol->MoveFile(device, old.folder, old.file, now.folder, now.file, this);
        }
        if (ok && (old.key != now.key || old.name != now.name)) {
            ok = protocol->SetFileInfo(device, now, this);
        }
    }
    Finished(ResultOf(ok));
    Q_EMIT FinishedContentRename(GetId(), ok);
    return ok;
}

LumoFileRecord LumoRenameContentCommand::OldFile() const {
    return Locked(m_old);
}

LumoFileRecord LumoRenameContentCommand::NewFile() const {
    return Locked(m_new);
}
