#pragma once

#include "rdm/SettableParameter.h"

#include <QPointer>
#include <QTableView>

#include <memory>

class Device;
class DeviceParameterDelegate;
class QMenu;
class QStandardItemModel;

// The parameter table of one device ("Parameter", "Value"), refreshed when its address
// changes or a command on it finishes. The values of the parameters the fixture lets the
// program set are edited in place; each edit is asked for through SetParameterRequested.
class DeviceView : public QTableView {
    Q_OBJECT
public:
    explicit DeviceView(QWidget* parent = nullptr);

    void SetDevice(Device* device);
    Device* GetDevice() const { return m_device; }
    QStandardItemModel* Model() const { return m_model; }

    DeviceParameterDelegate* ParameterDelegate() const { return m_delegate; }
    // The context menu: "Warm Reset" and "Cold Reset" for a fixture that lists RESET_DEVICE;
    // null for any other.
    std::unique_ptr<QMenu> BuildMenu();

public Q_SLOTS:
    void Refresh();

Q_SIGNALS:
    void SetParameterRequested(Device* device, const SettableParameter* parameter,
                               const QByteArray& value);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QPointer<Device> m_device;
    QStandardItemModel* m_model;          // child of this view
    DeviceParameterDelegate* m_delegate;  // child of this view
    QMetaObject::Connection m_addressConnection;
};
