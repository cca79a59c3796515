#include "rdm/RDMSetParameterCommand.h"

#include "rdm/RDMProtocol.h"
#include "rdm/SettableParameter.h"
#include "rdm/devices/RDMDevice.h"

RDMSetParameterCommand::RDMSetParameterCommand(QObject* parent) : Command(parent) {
    SetName(QStringLiteral("Set Device Parameter"));
}

void RDMSetParameterCommand::SetDevice(Device* device, const SettableParameter& parameter,
                                       const QByteArray& value) {
    QMutexLocker lock(&m_mutex);
    m_device = DeviceUse(device);
    m_rdmDevice = qobject_cast<RDMDevice*>(device);
    m_parameter = &parameter;
    m_value = value;
    if (m_rdmDevice) {
        Describe(
            QStringLiteral("%1 of 0x%2")
                .arg(QLatin1String(parameter.setting), QString::number(m_rdmDevice->GetUid(), 16)));
    }
}

quint16 RDMSetParameterCommand::GetPid() const {
    QMutexLocker lock(&m_mutex);
    return m_parameter ? m_parameter->pid : 0;
}

bool RDMSetParameterCommand::Execute() {
    RDMDevice* device = nullptr;
    const SettableParameter* parameter = nullptr;
    QByteArray value;
    {
        QMutexLocker lock(&m_mutex);
        device = m_rdmDevice;
        parameter = m_parameter;
        value = m_value;
    }
    bool ok = false;
    if (!device || !parameter) {
        AddString(QStringLiteral("Error: Setting a parameter failed! Invalid Device object."),
                  FeedbackStatusError);
    } else {
        ok = RDMProtocol::Instance()->SetParameter(device, *parameter, value, this);
    }
    Finished(ResultOf(ok));
    Q_EMIT FinishedSetParameter(GetId(), ok);
    return ok;
}
