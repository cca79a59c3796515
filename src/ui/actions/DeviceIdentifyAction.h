#pragma once

#include "ui/actions/SelfExecutingAction.h"

#include <QPointer>

class DeviceDelegate;
class DeviceNode;

// "Enable Identify" or "Disable Identify" for an RDM device: queues an identify command
// through the node's delegate.
class DeviceIdentifyAction : public SelfExecutingAction {
    Q_OBJECT
public:
    DeviceIdentifyAction(DeviceNode* node, DeviceDelegate* delegate, QObject* parent);

    void execute() override;

private:
    QPointer<DeviceNode> m_node;
    DeviceDelegate* m_delegate;
};
