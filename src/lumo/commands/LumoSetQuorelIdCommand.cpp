#include "lumo/commands/LumoSetQuorelIdCommand.h"

#include "lumo/LumoProtocol.h"
#include "lumo/devices/LumoRDM.h"

LumoSetQuorelIdCommand::LumoSetQuorelIdCommand(QObject* parent) : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Set Quorel Address"));
}

void LumoSetQuorelIdCommand::Setup(Device* device, quint16 address) {
    QString name;
    {
        QMutexLocker lock(&m_mutex);
        SetTarget(device);
        m_address = address;
        name = device ? device->UidText() : QString();
    }
    AddString(QStringLiteral("Set Quorel Address for %1 to %2").arg(name).arg(address),
              FeedbackStatusNormal);
}

bool LumoSetQuorelIdCommand::Execute() {
    LumoRDM* device = nullptr;
    quint16 address = 0;
    {
        QMutexLocker lock(&m_mutex);
        device = Target();
        address = m_address;
    }
    bool ok = false;
    if (device) {
        ok = LumoProtocol::ProtocolFor(device)->SetQuorelAddress(device, address, this);
    } else {
        // Without a fixture there is only the requested address to name.
        AddString(QStringLiteral("Error: Set Quorel Address failed for %1! Invalid Device object.")
                      .arg(address),
                  FeedbackStatusError);
    }
    Finished(ResultOf(ok));
    Q_EMIT FinishedLumoSetQuorelId(GetId(), ok);
    return ok;
}

quint16 LumoSetQuorelIdCommand::Address() const {
    QMutexLocker lock(&m_mutex);
    return m_address;
}
