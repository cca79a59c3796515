#include "ui/tree/DeviceDelegate.h"

#include "comm/CommManager.h"
#include "lumo/commands/LumoSetQuorelIdCommand.h"
#include "lumo/devices/LumoRDM.h"
#include "os/Trap.h"
#include "rdm/RDMChangeAddressCommand.h"
#include "rdm/RDMIdentifyCommand.h"
#include "rdm/RDMSetParameterCommand.h"
#include "rdm/devices/RDMDevice.h"
#include "ui/actions/DeviceChangeAddressAction.h"
#include "ui/actions/DeviceIdentifyAction.h"
#include "ui/actions/LumoDeviceSetQuorelIdAction.h"
#include "ui/tree/DeviceNode.h"
#include "ui/tree/NodeTree.h"
#include "ui/views/DeviceView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QStackedWidget>

DeviceDelegate::DeviceDelegate(NodeTree* tree) : Delegate(tree) {
    const bool didConnectSucceed =
        bool(connect(CommManager::Instance(), &CommManager::CommandCompleted, this,
                     &DeviceDelegate::OnCommandCompleted));
    OS_TRAP_IF(!didConnectSucceed);
}

DeviceDelegate::~DeviceDelegate() = default;

std::unique_ptr<QMenu> DeviceDelegate::BuildMenu(Node* node, QWidget* parent) {
    auto* deviceNode = dynamic_cast<DeviceNode*>(node);
    if (!deviceNode || !qobject_cast<RDMDevice*>(deviceNode->GetDevice())) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>(parent);
    menu->addAction(new DeviceChangeAddressAction(deviceNode, this, menu.get()));
    menu->addAction(new DeviceIdentifyAction(deviceNode, this, menu.get()));
    if (qobject_cast<LumoRDM*>(deviceNode->GetDevice())) {
        menu->addSeparator();
        menu->addAction(new LumoDeviceSetQuorelIdAction(deviceNode, this, menu.get()));
    }
    return menu;
}

void DeviceDelegate::ContextMenu(NodeTree* tree, QContextMenuEvent* event, Node* node) {
    if (std::unique_ptr<QMenu> menu = BuildMenu(node, tree)) {
        menu->exec(event->globalPos());
    }
}

QWidget* DeviceDelegate::View(Node* node) {
    if (!m_view) {
        m_view = new DeviceView(Tree()->ViewArea());
        connect(m_view, &DeviceView::SetParameterRequested, this,
                &DeviceDelegate::OnSetParameterRequested);
    }
    auto* deviceNode = dynamic_cast<DeviceNode*>(node);
    m_view->SetDevice(deviceNode ? deviceNode->GetDevice() : nullptr);
    return m_view;
}

void DeviceDelegate::ConnectCommand(std::unique_ptr<Command> command) {
    bool didConnectSucceed = true;
    if (auto* identify = qobject_cast<RDMIdentifyCommand*>(command.get())) {
        didConnectSucceed = bool(connect(identify, &RDMIdentifyCommand::FinishedIdentify, this,
                                         &DeviceDelegate::OnIdentifyCompleted));
    } else if (auto* address = qobject_cast<RDMChangeAddressCommand*>(command.get())) {
        didConnectSucceed = bool(connect(address, &RDMChangeAddressCommand::FinishedChangeAddress,
                                         this, &DeviceDelegate::OnAddressChanged));
    } else if (auto* set = qobject_cast<RDMSetParameterCommand*>(command.get())) {
        didConnectSucceed = bool(connect(set, &RDMSetParameterCommand::FinishedSetParameter, this,
                                         &DeviceDelegate::OnParameterSet));
    } else if (auto* quorel = qobject_cast<LumoSetQuorelIdCommand*>(command.get())) {
        didConnectSucceed = bool(connect(quorel, &LumoSetQuorelIdCommand::FinishedLumoSetQuorelId,
                                         this, &DeviceDelegate::OnQuorelIdCompleted));
    }
    OS_TRAP_IF(!didConnectSucceed);
    Command* queued = command.get();
    m_commands.emplace(queued->GetId(), std::unique_ptr<Command, LaterDeleter>(command.release()));
    CommManager::Instance()->QueueCommand(queued);
}

void DeviceDelegate::OnIdentifyCompleted(QUuid, bool) {
    RefreshView();
}

void DeviceDelegate::OnAddressChanged(QUuid, bool) {
    RefreshView();
}

void DeviceDelegate::OnQuorelIdCompleted(QUuid, bool) {
    RefreshView();
}

void DeviceDelegate::OnSetParameterRequested(Device* device, const SettableParameter* parameter,
                                             const QByteArray& value) {
    if (!device || !parameter) {
        return;
    }
    auto command = std::make_unique<RDMSetParameterCommand>();
    command->SetDevice(device, *parameter, value);
    ConnectCommand(std::move(command));
}

void DeviceDelegate::OnParameterSet(QUuid, bool) {
    RefreshView();
}

void DeviceDelegate::OnCommandCompleted(QUuid commandId) {
    m_commands.erase(commandId);
}

void DeviceDelegate::RefreshView() {
    if (m_view) {
        m_view->Refresh();
    }
}
