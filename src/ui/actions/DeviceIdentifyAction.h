#pragma once

#include "ui/actions/DeviceAction.h"

// "Enable Identify" or "Disable Identify" for an RDM device: queues an identify command
// through the node's delegate.
class DeviceIdentifyAction : public DeviceAction {
    Q_OBJECT
public:
    DeviceIdentifyAction(DeviceNode* node, DeviceDelegate* delegate, QObject* parent);

    void execute() override;
};
