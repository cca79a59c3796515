#include "ui/actions/DeviceChangeAddressAction.h"

#include "rdm/RDMChangeAddressCommand.h"
#include "rdm/devices/RDMDevice.h"
#include "ui/AddressDialog.h"
#include "ui/tree/DeviceDelegate.h"
#include "ui/tree/DeviceNode.h"
#include "ui/tree/NodeTree.h"

DeviceChangeAddressAction::DeviceChangeAddressAction(DeviceNode* node, DeviceDelegate* delegate,
                                                     QObject* parent)
    : SelfExecutingAction("Change DMX Address", parent), m_node(node), m_delegate(delegate) {}

void DeviceChangeAddressAction::execute() {
    QPointer<RDMDevice> device = m_node ? qobject_cast<RDMDevice*>(m_node->GetDevice()) : nullptr;
    if (!device) {
        return;
    }
    AddressDialog dialog("DMX Address:", device->GetDmxStartAddress(), kHighestAddress,
                         m_delegate->Tree());
    dialog.setWindowTitle("Change DMX Address");
    // The device may be replaced by a discovery while the dialog is open.
    if (dialog.exec() != QDialog::Accepted || !device) {
        return;
    }
    auto command = std::make_unique<RDMChangeAddressCommand>();
    command->SetDevice(device, quint16(dialog.Value()));
    m_delegate->ConnectCommand(std::move(command));
}
