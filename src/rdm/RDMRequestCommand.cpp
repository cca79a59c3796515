#include "rdm/RDMRequestCommand.h"

#include "rdm/RDMProtocol.h"
#include "rdm/devices/RDMDevice.h"

RDMRequestCommand::RDMRequestCommand(QObject* parent) : Command(parent) {
    SetName(QStringLiteral("RDM Request"));
}

void RDMRequestCommand::SetRequest(Device* device, quint8 commandClass, quint16 pid,
                                   const QByteArray& data) {
    QMutexLocker lock(&m_mutex);
    m_device = DeviceUse(device);
    m_rdmDevice = qobject_cast<RDMDevice*>(device);
    m_readAll = false;
    m_commandClass = commandClass;
    m_pid = pid;
    m_data = data;
}

void RDMRequestCommand::SetReadAll(Device* device) {
    QMutexLocker lock(&m_mutex);
    m_device = DeviceUse(device);
    m_rdmDevice = qobject_cast<RDMDevice*>(device);
    m_readAll = true;
}

bool RDMRequestCommand::Execute() {
    QMutexLocker lock(&m_mutex);
    bool ok = false;
    RDMProtocol* protocol = RDMProtocol::Instance();
    if (!m_rdmDevice) {
        AddString(QStringLiteral("Error: RDM request failed! Invalid Device object."),
                  FeedbackStatusError);
    } else if (m_readAll) {
        m_rdmDevice->ClearSupportedParameters();
        ok = protocol->UpdateDeviceInformation({m_rdmDevice}, this);
    } else {
        ok = protocol->Request(m_rdmDevice, m_commandClass, m_pid, m_data, &m_reply, this);
    }
    lock.unlock();
    Finished(ResultOf(ok));
    return ok;
}

QByteArray RDMRequestCommand::GetReply() const {
    QMutexLocker lock(&m_mutex);
    return m_reply;
}
