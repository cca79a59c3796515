#pragma once

#include "lumo/commands/LumoDeviceCommand.h"

#include <QList>
#include <QPair>

// "Lumo Remove Content": erases files of a fixture, one result signal per file.
class LumoRemoveContentCommand : public LumoDeviceCommand {
    Q_OBJECT
public:
    using FileAddress = QPair<quint8, quint8>;  // folder, file

    explicit LumoRemoveContentCommand(QObject* parent = nullptr);

    void Setup(Device* device, const QList<FileAddress>& files);
    // Always true: the per-file results travel in the signals.
    bool Execute() override;
    QList<FileAddress> Files() const;

Q_SIGNALS:
    void FinishedContentRemove(QUuid commandId, int content, bool bResult);

private:
    QList<FileAddress> m_files;
};
