#include "ui/actions/LumoDeviceSetQuorelIdAction.h"

#include "lumo/commands/LumoSetQuorelIdCommand.h"
#include "lumo/devices/LumoRDM.h"
#include "ui/AddressDialog.h"
#include "ui/tree/DeviceDelegate.h"
#include "ui/tree/DeviceNode.h"
#include "ui/tree/NodeTree.h"

LumoDeviceSetQuorelIdAction::LumoDeviceSetQuorelIdAction(DeviceNode* node, DeviceDelegate* delegate,
                                                         QObject* parent)
    : SelfExecutingAction("Set Quorel Address", parent), m_node(node), m_delegate(delegate) {}

void LumoDeviceSetQuorelIdAction::execute() {
    QPointer<LumoRDM> device = m_node ? qobject_cast<LumoRDM*>(m_node->GetDevice()) : nullptr;
    if (!device) {
        return;
    }
    AddressDialog dialog("Quorel Address:", device->GetQuorelAddress(), kHighestAddress,
                         m_delegate->Tree(), 0);
    dialog.setWindowTitle("Set Quorel Address");
    // The device may be replaced by a discovery while the dialog is open.
    if (dialog.exec() != QDialog::Accepted || !device) {
        return;
    }
    auto command = std::make_unique<LumoSetQuorelIdCommand>();
    command->Setup(device, quint16(dialog.Value()));
    m_delegate->ConnectCommand(std::move(command));
}
