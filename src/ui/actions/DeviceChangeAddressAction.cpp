#include "ui/actions/DeviceChangeAddressAction.h"

#include "rdm/RDMChangeAddressCommand.h"
#include "rdm/devices/RDMDevice.h"
#include "ui/AddressDialog.h"
#include "ui/tree/DeviceDelegate.h"
#include "ui/tree/DeviceNode.h"
#include "ui/tree/NodeTree.h"

DeviceChangeAddressAction::DeviceChangeAddressAction(DeviceNode* node, DeviceDelegate* delegate,
                                                     QObject* parent)
    : DeviceAction("Change DMX Address", node, delegate, parent) {}

void DeviceChangeAddressAction::execute() {
    QPointer<RDMDevice> device = Node() ? qobject_cast<RDMDevice*>(Node()->GetDevice()) : nullptr;
    if (!device) {
        return;
    }
    const std::optional<int> address =
        AddressDialog::Ask("Change DMX Address", "DMX Address:", device->GetDmxStartAddress(), 1,
                           kHighestAddress, Delegate()->Tree());
    // The device may be replaced by a discovery while the dialog is open.
    if (!address || !device) {
        return;
    }
    auto command = std::make_unique<RDMChangeAddressCommand>();
    command->SetDevice(device, quint16(*address));
    Delegate()->ConnectCommand(std::move(command));
}
