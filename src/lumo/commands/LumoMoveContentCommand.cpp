#include "lumo/commands/LumoMoveContentCommand.h"

#include "content/Content.h"
#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "lumo/LumoProtocol.h"

LumoMoveContentCommand::LumoMoveContentCommand(QObject* parent) : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Lumo Move Content"));
}

void LumoMoveContentCommand::Setup(Device* device, Content* item, quint8 destinationFolder,
                                   quint8 destinationFile) {
    const ContentModelLock contentLock;
    Store(device, [&] {
        m_item = item;
        m_sourceFolder = item && item->Parent() ? quint8(item->Parent()->Address()) : 0;
        m_sourceFile = item ? quint8(item->Address()) : 0;
        m_destinationFolder = destinationFolder;
        m_destinationFile = destinationFile;
    });
    Describe(QStringLiteral("Move %1 to folder %2")
                 .arg(item ? item->Name() : QString())
                 .arg(destinationFolder));
}

bool LumoMoveContentCommand::Execute() {
    LumoRDM* device = TargetDevice();
    const bool ok = device && LumoProtocol::ProtocolFor(device)->MoveFile(
                                  device, SourceFolder(), SourceFile(), DestinationFolder(),
                                  DestinationFile(), this);
    Finished(ResultOf(ok));
    Q_EMIT FinishedContentMove(GetId(), ok);
    return ok;
}

Content* LumoMoveContentCommand::Item() const {
    return Locked(m_item).data();
}

quint8 LumoMoveContentCommand::SourceFolder() const {
    return Locked(m_sourceFolder);
}

quint8 LumoMoveContentCommand::SourceFile() const {
    return Locked(m_sourceFile);
}

quint8 LumoMoveContentCommand::DestinationFolder() const {
    return Locked(m_destinationFolder);
}

quint8 LumoMoveContentCommand::DestinationFile() const {
    return Locked(m_destinationFile);
}
