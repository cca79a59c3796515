#pragma once

#include <QPointer>
#include <QTableView>

class Device;
class QStandardItemModel;

// The parameter table of one device ("Parameter", "Value"), refreshed when its address
// changes or a command on it finishes.
class DeviceView : public QTableView {
    Q_OBJECT
public:
    explicit DeviceView(QWidget* parent = nullptr);

    void SetDevice(Device* device);
    Device* GetDevice() const { return m_device; }
    QStandardItemModel* Model() const { return m_model; }

public Q_SLOTS:
    void Refresh();

private:
    QPointer<Device> m_device;
    QStandardItemModel* m_model;  // child of this view
    QMetaObject::Connection m_addressConnection;
};
