#pragma once

#include "lumo/commands/LumoDeviceCommand.h"

// "Lumo Remove Folder": erases a folder and its files on a fixture.
class LumoRemoveFolderCommand : public LumoDeviceCommand {
    Q_OBJECT
public:
    explicit LumoRemoveFolderCommand(QObject* parent = nullptr);

    void Setup(Device* device, quint8 folder);
    bool Execute() override;
    quint8 Folder() const;

Q_SIGNALS:
    void FinishedRemoveFolder(QUuid commandId, bool bResult);

private:
    quint8 m_folder = 0;
};
