#include "lumo/commands/LumoRemoveContentCommand.h"

#include "lumo/LumoProtocol.h"

LumoRemoveContentCommand::LumoRemoveContentCommand(QObject* parent) : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Lumo Remove Content"));
}

void LumoRemoveContentCommand::Setup(Device* device, const QList<FileAddress>& files) {
    QMutexLocker lock(&m_mutex);
    SetTarget(device);
    m_files = files;
}

bool LumoRemoveContentCommand::Execute() {
    LumoRDM* device = nullptr;
    QList<FileAddress> files;
    {
        QMutexLocker lock(&m_mutex);
        device = Target();
        files = m_files;
    }
    for (const FileAddress& file : files) {
        const bool ok = device && LumoProtocol::ProtocolFor(device)->EraseFile(device, file.first,
                                                                               file.second, this);
        Q_EMIT FinishedContentRemove(GetId(), file.second, ok);
    }
    Finished(FeedbackResultSuccess);
    return true;
}

QList<LumoRemoveContentCommand::FileAddress> LumoRemoveContentCommand::Files() const {
    QMutexLocker lock(&m_mutex);
    return m_files;
}
