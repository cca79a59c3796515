#pragma once

#include "lumo/LumoRecords.h"
#include "lumo/commands/LumoDeviceCommand.h"

// "Lumo Add Folder": makes a numbered, named folder on a fixture.
class LumoAddFolderCommand : public LumoDeviceCommand {
    Q_OBJECT
public:
    explicit LumoAddFolderCommand(QObject* parent = nullptr);

    void Setup(Device* device, const LumoFolderRecord& folder);
    bool Execute() override;
    LumoFolderRecord Folder() const;

Q_SIGNALS:
    void FinishedAddFolder(QUuid commandId, bool bResult);

private:
    LumoFolderRecord m_folder;
};
