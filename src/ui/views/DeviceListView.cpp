#include "ui/views/DeviceListView.h"

#include "rdm/devices/DeviceManager.h"
#include "rdm/devices/DmxPatch.h"
#include "rdm/devices/RDMDevice.h"
#include "ui/tree/DeviceNode.h"

#include <QColor>
#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QStyle>

namespace {

constexpr int kSortRole = Qt::UserRole + 1;
constexpr int kUidRole = Qt::UserRole + 2;
constexpr QColor kClashBackground(255, 214, 153);

QStandardItem* Cell(const QString& text, const QVariant& sortKey) {
    auto* item = new QStandardItem(text);
    item->setData(sortKey, kSortRole);
    item->setEditable(false);
    return item;
}

// Why a fixture's row is marked: one line per fault of its channels.
QString ClashText(const Device& device, const DmxPatch::Clash& clash) {
    const std::optional<DmxPatch::Channels> channels = DmxPatch::ChannelsOf(device);
    const QString range = QStringLiteral("Channels %1-%2").arg(channels->first).arg(channels->last);
    QStringList lines;
    if (!clash.overlaps.isEmpty()) {
        QStringList others;
        for (const Device* other : clash.overlaps) {
            others.append(DeviceNameNode::NameOf(other));
        }
        lines.append(range + " overlap " + others.join(", "));
    }
    if (clash.pastEnd) {
        lines.append(range + QStringLiteral(" run past channel %1").arg(DmxPatch::kLastChannel));
    }
    return lines.join('\n');
}

}  // namespace

DeviceListView::DeviceListView(DeviceManager* manager, QWidget* parent)
    : QTableView(parent),
      m_manager(manager),
      m_model(new QStandardItemModel(0, 8, this)),
      m_proxy(new QSortFilterProxyModel(this)) {
    m_model->setHorizontalHeaderLabels({"Unique ID", "Device Name", "Protocol", "Manufacturer",
                                        "Model", "Version", "Dmx Address", "Channels"});
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(kSortRole);
    m_proxy->setDynamicSortFilter(true);
    setModel(m_proxy);
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, &DeviceListView::Refresh);
    connect(manager, &DeviceManager::DeviceAdded, this, &DeviceListView::ScheduleRefresh);
    connect(manager, &DeviceManager::DeviceRemoved, this, &DeviceListView::ScheduleRefresh);
    Refresh();
}

int DeviceListView::SourceRowOf(quint64 uid) const {
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->item(row, 0)->data(kUidRole).toULongLong() == uid) {
            return row;
        }
    }
    return -1;
}

void DeviceListView::Refresh() {
    for (const QMetaObject::Connection& connection : m_deviceConnections) {
        disconnect(connection);
    }
    m_deviceConnections.clear();
    m_model->removeRows(0, m_model->rowCount());
    const QList<Device*> devices = m_manager->Devices();
    const QHash<quint64, DmxPatch::Clash> clashes = DmxPatch::FindClashes(devices);
    for (Device* device : devices) {
        auto* rdm = qobject_cast<RDMDevice*>(device);
        QString name = rdm ? rdm->GetDisplayName() : QString();
        if (name.isEmpty()) {
            name = DeviceNameNode::NameOf(device).section(" (", 0, 0);
        }
        const QString protocol = device->DeviceType() == 1 ? "RDM" : "ORX";
        QStandardItem* uid = Cell(device->UidText(), device->GetUid());
        uid->setData(device->GetUid(), kUidRole);
        const QList<QStandardItem*> row = {
            uid,
            Cell(name, name.toLower()),
            Cell(protocol, protocol),
            Cell(device->GetManufacturer(), device->GetManufacturer().toLower()),
            Cell(device->GetModelText(), device->GetModelText().toLower()),
            Cell(device->GetSoftwareVersion(), device->GetSoftwareVersion()),
            Cell(QString::number(device->GetDmxStartAddress()), int(device->GetDmxStartAddress())),
            Cell(QString::number(device->GetDmxFootprint()), int(device->GetDmxFootprint()))};
        const auto clash = clashes.constFind(device->GetUid());
        if (clash != clashes.constEnd()) {
            MarkClash(row, ClashText(*device, *clash));
        }
        m_model->appendRow(row);
        // Addresses, labels and footprints set by commands on the worker thread arrive queued.
        m_deviceConnections.append(
            connect(device, &Device::AddressChanged, this, &DeviceListView::ScheduleRefresh));
        m_deviceConnections.append(
            connect(device, &Device::DetailsChanged, this, &DeviceListView::ScheduleRefresh));
    }
    resizeColumnsToContents();
    horizontalHeader()->setStretchLastSection(true);
}

void DeviceListView::MarkClash(const QList<QStandardItem*>& row, const QString& why) const {
    for (QStandardItem* cell : row) {
        cell->setToolTip(why);
        cell->setBackground(kClashBackground);
    }
    row.at(kChannelsColumn)->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
}
