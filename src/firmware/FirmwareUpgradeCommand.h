#pragma once

#include "comm/Command.h"
#include "rdm/devices/Device.h"

#include <QList>
#include <QString>

class IFirmwareProtocol;

// Puts one firmware file into legacy moving lights through a firmware protocol.
class FirmwareUpgradeCommand : public Command {
    Q_OBJECT
public:
    explicit FirmwareUpgradeCommand(QObject* parent = nullptr);

    // The protocol is not owned.
    void Setup(const QList<Device*>& devices, IFirmwareProtocol* protocol, const QString& file);
    bool Execute() override;

Q_SIGNALS:
    void FinishedFirmwareUpgrade();

private:
    DeviceUses m_devices;  // held while the command may run
    IFirmwareProtocol* m_protocol = nullptr;
    QString m_file;
};
