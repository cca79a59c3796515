#pragma once

#include "ui/actions/DeviceAction.h"

// "Set Quorel Address" for an LED fixture: asks for the fixture's address within a Quorel
// layout (0 to 65535) and queues the command that sets it.
class LumoDeviceSetQuorelIdAction : public DeviceAction {
    Q_OBJECT
public:
    static constexpr int kHighestAddress = 65535;

    LumoDeviceSetQuorelIdAction(DeviceNode* node, DeviceDelegate* delegate, QObject* parent);

    void execute() override;
};
