#include "rdm/RDMChangeAddressCommand.h"

#include "rdm/RDMProtocol.h"
#include "rdm/devices/RDMDevice.h"

RDMChangeAddressCommand::RDMChangeAddressCommand(QObject* parent) : Command(parent) {
    SetName(QStringLiteral("Change DMX Address"));
}

void RDMChangeAddressCommand::SetDevice(Device* device, quint16 address) {
    QMutexLocker lock(&m_mutex);
    m_device = DeviceUse(device);
    m_rdmDevice = qobject_cast<RDMDevice*>(device);
    m_address = address;
}

bool RDMChangeAddressCommand::Execute() {
    RDMDevice* device = nullptr;
    quint16 address = 0;
    Device* entry = nullptr;
    {
        QMutexLocker lock(&m_mutex);
        device = m_rdmDevice;
        address = m_address;
        entry = m_device.get();
    }
    bool ok = false;
    if (!device) {
        AddString(QStringLiteral("Error: Set Dmx address failed for %1! Invalid Device object.")
                      .arg(entry ? entry->GetUid() : 0),
                  FeedbackStatusError);
    } else {
        ok = RDMProtocol::Instance()->SetDmxStartAddress(device, address, this);
    }
    Finished(ResultOf(ok));
    Q_EMIT FinishedChangeAddress(GetId(), ok);
    return ok;
}
