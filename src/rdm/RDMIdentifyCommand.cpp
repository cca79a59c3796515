#include "rdm/RDMIdentifyCommand.h"

#include "rdm/RDMProtocol.h"
#include "rdm/devices/RDMDevice.h"

RDMIdentifyCommand::RDMIdentifyCommand(QObject* parent) : Command(parent) {
    SetName(QStringLiteral("Identify Device"));
}

void RDMIdentifyCommand::SetDevice(Device* device) {
    QMutexLocker lock(&m_mutex);
    m_device = DeviceUse(device);
    m_rdmDevice = qobject_cast<RDMDevice*>(device);
    if (m_rdmDevice) {
        Describe(QStringLiteral("Identifying %1").arg(m_rdmDevice->GetUid()));
    }
}

bool RDMIdentifyCommand::Execute() {
    RDMDevice* device = nullptr;
    {
        QMutexLocker lock(&m_mutex);
        device = m_rdmDevice;
    }
    if (!device) {
        return true;
    }
    const bool ok =
        RDMProtocol::Instance()->SetIdentify(device, device->GetIdentify() ? 0 : 1, this);
    Finished(ResultOf(ok));
    Q_EMIT FinishedIdentify(GetId(), ok);
    return ok;
}
