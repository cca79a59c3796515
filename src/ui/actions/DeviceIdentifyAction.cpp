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
    : DeviceAction(Caption(node), node, delegate, parent) {
    setIcon(QIcon(":/Resources/fixture-16.png"));
}

void DeviceIdentifyAction::execute() {
    auto* device = Node() ? qobject_cast<RDMDevice*>(Node()->GetDevice()) : nullptr;
    if (!device) {
        return;
    }
    auto command = std::make_unique<RDMIdentifyCommand>();
    command->SetDevice(device);
    Delegate()->ConnectCommand(std::move(command));
}
