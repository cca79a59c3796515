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
    QString name;
    {
        const ContentModelLock contentLock;
        QMutexLocker lock(&m_mutex);
        SetTarget(device);
        m_item = item;
        m_sourceFolder = item && item->Parent() ? quint8(item->Parent()->Address()) : 0;
        m_sourceFile = item ? quint8(item->Address()) : 0;
        m_destinationFolder = destinationFolder;
        m_destinationFile = destinationFile;
        name = item ? item->Name() : QString();
    }
    AddString(QStringLiteral("Move %1 to folder %2").arg(name).arg(destinationFolder),
              FeedbackStatusNormal);
}

bool LumoMoveContentCommand::Execute() {
    LumoRDM* device = nullptr;
    quint8 sourceFolder = 0;
    quint8 sourceFile = 0;
    quint8 destinationFolder = 0;
    quint8 destinationFile = 0;
    {
        QMutexLocker lock(&m_mutex);
        device = Target();
        sourceFolder = m_sourceFolder;
        sourceFile = m_sourceFile;
        destinationFolder = m_destinationFolder;
        destinationFile = m_destinationFile;
    }
    const bool ok =
        device && LumoProtocol::ProtocolFor(device)->MoveFile(
                      device, sourceFolder, sourceFile, destinationFolder, destinationFile, this);
    Finished(ResultOf(ok));
    Q_EMIT FinishedContentMove(GetId(), ok);
    return ok;
}

Content* LumoMoveContentCommand::Item() const {
    QMutexLocker lock(&m_mutex);
    return m_item.data();
}

quint8 LumoMoveContentCommand::SourceFolder() const {
    QMutexLocker lock(&m_mutex);
    return m_sourceFolder;
}

quint8 LumoMoveContentCommand::SourceFile() const {
    QMutexLocker lock(&m_mutex);
    return m_sourceFile;
}

quint8 LumoMoveContentCommand::DestinationFolder() const {
    QMutexLocker lock(&m_mutex);
    return m_destinationFolder;
}

quint8 LumoMoveContentCommand::DestinationFile() const {
    QMutexLocker lock(&m_mutex);
    return m_destinationFile;
}
