#pragma once

#include <QTableView>
#include <QTimer>

class DeviceManager;
class QSortFilterProxyModel;
class QStandardItemModel;

// Every registered device, one row each: "Unique ID", "Device Name", "Protocol",
// "Manufacturer", "Model", "Version", "Dmx Address". Sortable, single selection; follows
// the device manager and the devices' addresses.
class DeviceListView : public QTableView {
    Q_OBJECT
public:
    DeviceListView(DeviceManager* manager, QWidget* parent = nullptr);

    QStandardItemModel* SourceModel() const { return m_model; }
    // The row of a device in the source model, or -1.
    int SourceRowOf(quint64 uid) const;

public Q_SLOTS:
    // Rebuilds the rows from the registry now.
    void Refresh();

private:
    void ScheduleRefresh() { m_refresh.start(); }

    DeviceManager* m_manager;
    QStandardItemModel* m_model;  // children of this view
    QSortFilterProxyModel* m_proxy;
    QTimer m_refresh;  // gathers the signals of one merge into one rebuild
    QList<QMetaObject::Connection> m_deviceConnections;
};
