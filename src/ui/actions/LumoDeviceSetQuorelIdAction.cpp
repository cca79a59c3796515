#include "ui/actions/LumoDeviceSetQuorelIdAction.h"

#include "lumo/commands/LumoSetQuorelIdCommand.h"
#include "lumo/devices/LumoRDM.h"
#include "ui/AddressDialog.h"
#include "ui/tree/DeviceDelegate.h"
#include "ui/tree/DeviceNode.h"
#include "ui/tree/NodeTree.h"

LumoDeviceSetQuorelIdAction::LumoDeviceSetQuorelIdAction(DeviceNode* node, DeviceDelegate* delegate,
                                                         QObject* parent)
    : DeviceAction("Set Quorel Address", node, delegate, parent) {}

void LumoDeviceSetQuorelIdAction::execute() {
    QPointer<LumoRDM> device = Node() ? qobject_cast<LumoRDM*>(Node()->GetDevice()) : nullptr;
    if (!device) {
        return;
    }
    const std::optional<int> address =
        AddressDialog::Ask("Set Quorel Address", "Quorel Address:", device->GetQuorelAddress(), 0,
                           kHighestAddress, Delegate()->Tree());
    // The device may be replaced by a discovery while the dialog is open.
    if (!address || !device) {
        return;
    }
    auto command = std::make_unique<LumoSetQuorelIdCommand>();
    command->Setup(device, quint16(*address));
    Delegate()->ConnectCommand(std::move(command));
}
