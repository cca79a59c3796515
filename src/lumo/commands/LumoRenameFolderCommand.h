#pragma once

#include "lumo/LumoRecords.h"
#include "lumo/commands/LumoDeviceCommand.h"

// "Lumo Rename Folder": moves a folder to a new number and/or gives it a new name.
class LumoRenameFolderCommand : public LumoDeviceCommand {
    Q_OBJECT
public:
    explicit LumoRenameFolderCommand(QObject* parent = nullptr);

    void Setup(Device* device, const LumoFolderRecord& old, const LumoFolderRecord& now);
    bool Execute() override;
    LumoFolderRecord OldFolder() const;
    LumoFolderRecord NewFolder() const;

Q_SIGNALS:
    void FinishedRenameFolder(QUuid commandId, bool bResult);

private:
    LumoFolderRecord m_old;
    LumoFolderRecord m_new;
};
