#pragma once

#include "lumo/commands/LumoDeviceCommand.h"

// "Set Quorel Address": gives a fixture its address within a Quorel layout.
class LumoSetQuorelIdCommand : public LumoDeviceCommand {
    Q_OBJECT
public:
    explicit LumoSetQuorelIdCommand(QObject* parent = nullptr);

    void Setup(Device* device, quint16 address);
    bool Execute() override;
    quint16 Address() const;

Q_SIGNALS:
    void FinishedLumoSetQuorelId(QUuid command, bool bResult);

private:
    quint16 m_address = 0;
};
