#pragma once

#include <QTableView>
#include <QTimer>

class DeviceManager;
class QSortFilterProxyModel;
class QStandardItem;
class QStandardItemModel;

// Every registered device, one row each: "Unique ID", "Device Name", "Protocol",
// "Manufacturer", "Model", "Version", "Dmx Address", "Channels" (the footprint). Sortable,
// single selection; follows the device manager and the devices' addresses. The rows of
// fixtures whose channels overlap another fixture's on the same line, or run past channel
// 512, are tinted and say why in their tooltip.
class DeviceListView : public QTableView {
    Q_OBJECT
public:
    static constexpr int kChannelsColumn = 7;

    DeviceListView(DeviceManager* manager, QWidget* parent = nullptr);

    QStandardItemModel* SourceModel() const { return m_model; }
    // The row of a device in the source model, or -1.
    int SourceRowOf(quint64 uid) const;

public Q_SLOTS:
    // Rebuilds the rows from the registry now.
    void Refresh();

private:
    void ScheduleRefresh() { m_refresh.start(); }
    void MarkClash(const QList<QStandardItem*>& row, const QString& why) const;

    DeviceManager* m_manager;
    QStandardItemModel* m_model;  // children of this view
    QSortFilterProxyModel* m_proxy;
    QTimer m_refresh;  // gathers the signals of one merge into one rebuild
    QList<QMetaObject::Connection> m_deviceConnections;
};
