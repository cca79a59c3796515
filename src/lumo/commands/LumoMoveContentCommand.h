#pragma once

#include "lumo/commands/LumoDeviceCommand.h"

#include <QPointer>

class Content;

// "Lumo Move Content": moves a file of a fixture into another folder of it.
class LumoMoveContentCommand : public LumoDeviceCommand {
    Q_OBJECT
public:
    explicit LumoMoveContentCommand(QObject* parent = nullptr);

    // The source folder and file are the item's parent folder number and its address, read
    // here (on the item's thread).
    void Setup(Device* device, Content* item, quint8 destinationFolder, quint8 destinationFile);
    bool Execute() override;
    Content* Item() const;
    quint8 SourceFolder() const;
    quint8 SourceFile() const;
    quint8 DestinationFolder() const;
    quint8 DestinationFile() const;

Q_SIGNALS:
    void FinishedContentMove(QUuid commandId, bool bResult);

private:
    QPointer<Content> m_item;
    quint8 m_sourceFolder = 0;
    quint8 m_sourceFile = 0;
    quint8 m_destinationFolder = 0;
    quint8 m_destinationFile = 0;
};
