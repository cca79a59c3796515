#include "firmware/FirmwareUpgradeCommand.h"

#include "firmware/IFirmwareProtocol.h"

FirmwareUpgradeCommand::FirmwareUpgradeCommand(QObject* parent) : Command(parent) {
    SetName(QStringLiteral("ORX Firmware Upgrade"));
}

void FirmwareUpgradeCommand::Setup(const QList<Device*>& devices, IFirmwareProtocol* protocol,
                                   const QString& file) {
    {
        QMutexLocker lock(&m_mutex);
        m_devices = DeviceUses(devices);
        m_protocol = protocol;
        m_file = file;
    }
    Describe(QStringLiteral("Upgrade %1 device(s) from %2").arg(devices.size()).arg(file));
}

bool FirmwareUpgradeCommand::Execute() {
    QList<Device*> devices;
    IFirmwareProtocol* protocol = nullptr;
    QString file;
    {
        QMutexLocker lock(&m_mutex);
        devices = m_devices.Devices();
        protocol = m_protocol;
        file = m_file;
    }
    const bool ok = protocol && !devices.isEmpty() && protocol->UploadFirmware(devices, file, this);
    Q_EMIT FinishedFirmwareUpgrade();
    Finished(ResultOf(ok));
    return ok;
}
