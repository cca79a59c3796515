#pragma once

#include "lumo/LumoRecords.h"
#include "lumo/commands/LumoDeviceCommand.h"

// "Lumo Content Discovery": reads a fixture's folder list (folder 0) or the files of one
// folder. The lists stay in the command for whoever receives the result.
class LumoContentDiscoveryCommand : public LumoDeviceCommand {
    Q_OBJECT
public:
    explicit LumoContentDiscoveryCommand(QObject* parent = nullptr);

    void Setup(Device* device, quint8 folder);
    bool Execute() override;

    quint8 Folder() const;
    QList<LumoFolderRecord> Folders() const;
    QList<LumoFileRecord> Files() const;

Q_SIGNALS:
    void FinishedContentDiscovery(QUuid commandId, bool bResult);

private:
    quint8 m_folder = 0;
    QList<LumoFolderRecord> m_folders;
    QList<LumoFileRecord> m_files;
};
