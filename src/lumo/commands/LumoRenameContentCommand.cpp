#include "lumo/commands/LumoRenameContentCommand.h"

#include "lumo/LumoProtocol.h"

LumoRenameContentCommand::LumoRenameContentCommand(QObject* parent) : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Lumo Rename Content"));
}

void LumoRenameContentCommand::Setup(Device* device, const LumoFileRecord& old,
                                     const LumoFileRecord& now) {
    {
        QMutexLocker lock(&m_mutex);
        SetTarget(device);
        m_old = old;
        m_new = now;
    }
    AddString(QStringLiteral("Rename %1").arg(old.name), FeedbackStatusNormal);
}

bool LumoRenameContentCommand::Execute() {
    LumoRDM* device = nullptr;
    LumoFileRecord old;
    LumoFileRecord now;
    {
        QMutexLocker lock(&m_mutex);
        device = Target();
        old = m_old;
        now = m_new;
    }
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
    QMutexLocker lock(&m_mutex);
    return m_old;
}

LumoFileRecord LumoRenameContentCommand::NewFile() const {
    QMutexLocker lock(&m_mutex);
    return m_new;
}
