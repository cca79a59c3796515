#include "lumo/commands/LumoSetQuorelIdCommand.h"

#include "lumo/LumoProtocol.h"
#include "lumo/devices/LumoRDM.h"

LumoSetQuorelIdCommand::LumoSetQuorelIdCommand(QObject* parent) : LumoDeviceCommand(parent) {
    SetName(QStringLiteral("Set Quorel Address"));
}

void LumoSetQuorelIdCommand::Setup(Device* device, quint16 address) {
    Store(device, [&] { m_address = address; });
    Describe(QStringLiteral("Set Quorel Address for %1 to %2")
                 .arg(device ? device->UidText() : QString())
                 .arg(address));
}

bool LumoSetQuorelIdCommand::Execute() {
    LumoRDM* device = TargetDevice();
    const quint16 address = Address();
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
    return Locked(m_address);
}
