#include "lumo/commands/LumoRemoveContentCommand.h"

#include "lumo/LumoProtocol.h"

LumoRemoveContentCommand::LumoRemoveContentCommand(QObject* parent) : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Lumo Remove Content"));
}

void LumoRemoveContentCommand::Setup(Device* device, const QList<FileAddress>& files) {
    Store(device, [&] { m_files = files; });
}

bool LumoRemoveContentCommand::Execute() {
    LumoRDM* device = TargetDevice();
    for (const FileAddress& file : Files()) {
        const bool ok = device && LumoProtocol::ProtocolFor(device)->EraseFile(device, file.first,
                                                                               file.second, this);
        Q_EMIT FinishedContentRemove(GetId(), file.second, ok);
    }
    Finished(FeedbackResultSuccess);
    return true;
}

QList<LumoRemoveContentCommand::FileAddress> LumoRemoveContentCommand::Files() const {
    return Locked(m_files);
}
