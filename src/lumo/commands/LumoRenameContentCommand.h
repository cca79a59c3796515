#pragma once

#include "lumo/LumoRecords.h"
#include "lumo/commands/LumoDeviceCommand.h"

// "Lumo Rename Content": moves a file to a new folder or number, then writes its new name
// and content key, making only the requests the change needs.
class LumoRenameContentCommand : public LumoDeviceCommand {
    Q_OBJECT
public:
    explicit LumoRenameContentCommand(QObject* parent = nullptr);

    void Setup(Device* device, const LumoFileRecord& old, const LumoFileRecord& now);
    bool Execute() override;
    LumoFileRecord OldFile() const;
    LumoFileRecord NewFile() const;

Q_SIGNALS:
    void FinishedContentRename(QUuid commandId, bool bResult);

private:
    LumoFileRecord m_old;
    LumoFileRecord m_new;
};
