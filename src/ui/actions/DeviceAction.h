#pragma once

#include "ui/actions/SelfExecutingAction.h"

#include <QPointer>

class DeviceDelegate;
class DeviceNode;

// An entry of a device row's context menu: it acts on the row's device and hands the
// command it makes to the row's delegate, which queues it.
class DeviceAction : public SelfExecutingAction {
    Q_OBJECT
public:
    DeviceAction(const QString& caption, DeviceNode* node, DeviceDelegate* delegate,
                 QObject* parent)
        : SelfExecutingAction(caption, parent), m_node(node), m_delegate(delegate) {}

protected:
    DeviceNode* Node() const { return m_node; }
    DeviceDelegate* Delegate() const { return m_delegate; }

private:
    QPointer<DeviceNode> m_node;
    DeviceDelegate* m_delegate;
};
