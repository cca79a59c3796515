#pragma once

#include "comm/Command.h"
#include "rdm/devices/Device.h"

class RDMDevice;
struct SettableParameter;

// "Set Device Parameter": sets one standard parameter of a fixture (its label, personality,
// display, pan and tilt, lamp, power state, or a reset) to a value already encoded for the
// line. The fixture's NACK reason goes to the command's log.
class RDMSetParameterCommand : public Command {
    Q_OBJECT
public:
    explicit RDMSetParameterCommand(QObject* parent = nullptr);

    // `value` is the parameter's data as SettableParameter::Encode gives it.
    void SetDevice(Device* device, const SettableParameter& parameter, const QByteArray& value);
    bool Execute() override;
    quint16 GetPid() const;

Q_SIGNALS:
    void FinishedSetParameter(QUuid command, bool bResult);

private:
    DeviceUse m_device;
    RDMDevice* m_rdmDevice = nullptr;
    const SettableParameter* m_parameter = nullptr;
    QByteArray m_value;
};
