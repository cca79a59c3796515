#pragma once

#include "ui/actions/DeviceAction.h"

// "Change DMX Address" for an RDM device: asks for the new start address (1 to 512) and
// queues the address command through the node's delegate.
class DeviceChangeAddressAction : public DeviceAction {
    Q_OBJECT
public:
    static constexpr int kHighestAddress = 512;

    DeviceChangeAddressAction(DeviceNode* node, DeviceDelegate* delegate, QObject* parent);

    void execute() override;
};
