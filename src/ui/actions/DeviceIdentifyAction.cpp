#include "ui/actions/DeviceIdentifyAction.h"

#include "rdm/RDMIdentifyCommand.h"
#include "rdm/devices/RDMDevice.h"
#include "ui/tree/DeviceDelegate.h"
#include "ui/tree/DeviceNode.h"

namespace {

QString Caption(DeviceNode* node) {
    auto* device = qobject_cast<RDMDevice*>(node->GetDevice());
    const bool on = device && device->GetIdentify() != 0;
    return QStringLiteral("%1 Identify").arg(on ? "Disable" : "Enable");
}

}  // namespace

DeviceIdentifyAction::DeviceIdentifyAction(DeviceNode* node, DeviceDelegate* delegate,
                                           QObject* parent)
    : SelfExecutingAction(Caption(node), parent), m_node(node), m_delegate(delegate) {
    setIcon(QIcon(":/Resources/fixture-16.png"));
}

void DeviceIdentifyAction::execute() {
    auto* device = m_node ? qobject_cast<RDMDevice*>(m_node->GetDevice()) : nullptr;
    if (!device) {
        return;
    }
    auto command = std::make_unique<RDMIdentifyCommand>();
    command->SetDevice(device);
    m_delegate->ConnectCommand(std::move(command));
}
