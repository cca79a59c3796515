#pragma once

#include "rdm/SettableParameter.h"
#include "ui/tree/Delegate.h"

#include <QPointer>
#include <QUuid>

#include <map>
#include <memory>

class Command;
class Device;
class DeviceNode;
class DeviceView;
class QMenu;

// For the rows of one device: the device's parameter table, and the context menu of RDM
// devices ("Change DMX Address", "Enable/Disable Identify", and for LED fixtures "Set Quorel
// Address"). It keeps the commands its actions hand it until the queue reports them
// completed, and refreshes its view when they finish.
class DeviceDelegate : public Delegate {
    Q_OBJECT
public:
    explicit DeviceDelegate(NodeTree* tree);
    ~DeviceDelegate() override;

    void ContextMenu(NodeTree* tree, QContextMenuEvent* event, Node* node) override;
    QWidget* View(Node* node) override;
    // Connects the command's finished signal, keeps the command and queues it.
    virtual void ConnectCommand(std::unique_ptr<Command> command);

    // The context menu for a node (none for devices that are not RDM devices).
    std::unique_ptr<QMenu> BuildMenu(Node* node, QWidget* parent);
    std::size_t KeptCommandCount() const { return m_commands.size(); }

public Q_SLOTS:
    void OnIdentifyCompleted(QUuid command, bool result);
    void OnAddressChanged(QUuid command, bool result);
    void OnQuorelIdCompleted(QUuid command, bool result);
    // Queues the setting of a parameter that the device view asked for.
    void OnSetParameterRequested(Device* device, const SettableParameter* parameter,
                                 const QByteArray& value);
    void OnParameterSet(QUuid command, bool result);
    void OnCommandCompleted(QUuid commandId);

private:
    struct LaterDeleter {
        void operator()(QObject* object) const { object->deleteLater(); }
    };

    void RefreshView();

    QPointer<DeviceView> m_view;  // owned by the view area
    std::map<QUuid, std::unique_ptr<Command, LaterDeleter>> m_commands;
};
