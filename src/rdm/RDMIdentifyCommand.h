#pragma once

#include "comm/Command.h"
#include "rdm/devices/Device.h"

class RDMDevice;

// "Identify Device": turns a fixture's identify state to the opposite of what it is.
class RDMIdentifyCommand : public Command {
    Q_OBJECT
public:
    explicit RDMIdentifyCommand(QObject* parent = nullptr);

    void SetDevice(Device* device);
    bool Execute() override;

Q_SIGNALS:
    void FinishedIdentify(QUuid command, bool bResult);

private:
    DeviceUse m_device;
    RDMDevice* m_rdmDevice = nullptr;
};
