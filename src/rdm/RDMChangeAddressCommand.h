#pragma once

#include "comm/Command.h"
#include "rdm/devices/Device.h"

class RDMDevice;

// "Change DMX Address": sets a fixture's DMX start address.
class RDMChangeAddressCommand : public Command {
    Q_OBJECT
public:
    explicit RDMChangeAddressCommand(QObject* parent = nullptr);

    void SetDevice(Device* device, quint16 address);
    bool Execute() override;

Q_SIGNALS:
    void FinishedChangeAddress(QUuid command, bool bResult);

private:
    DeviceUse m_device;
    RDMDevice* m_rdmDevice = nullptr;
    quint16 m_address = 0;
};
