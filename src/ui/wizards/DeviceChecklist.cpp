#include "ui/wizards/DeviceChecklist.h"

#include "lumo/devices/LumoRDM.h"
#include "ui/wizards/WizardSupport.h"

#include <QHeaderView>
#include <QSignalBlocker>

#include <algorithm>

DeviceChecklist::DeviceChecklist(const QList<Column>& columns, QWidget* parent)
    : QTreeWidget(parent), m_columns(columns) {
    QStringList headers;
    for (const Column& column : m_columns) {
        headers.append(column.header);
    }
    const auto box = std::find_if(m_columns.begin(), m_columns.end(),
                                  [](const Column& column) { return !column.cell; });
    m_checkColumn = box == m_columns.end() ? 0 : int(box - m_columns.begin());
    setHeaderLabels(headers);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemChanged, this, &DeviceChecklist::OnItemChanged);
}

void DeviceChecklist::ClearRows() {
    m_rows.clear();
    clear();
    setRootIsDecorated(false);
    emit CheckedChanged();
}

QTreeWidgetItem* DeviceChecklist::AddBranch(const QString& icon, const QString& text) {
    setRootIsDecorated(true);
    return WizardSupport::AddBranch(this, icon, text);
}

QTreeWidgetItem* DeviceChecklist::AddFixture(Device* fixture, QTreeWidgetItem* parent) {
    QStringList cells;
    for (const Column& column : m_columns) {
        cells.append(column.cell ? column.cell(fixture) : QString());
    }
    const QSignalBlocker blocker(this);  // a new row is unchecked: nothing changes
    auto* item = parent ? new QTreeWidgetItem(parent, cells) : new QTreeWidgetItem(this, cells);
    item->setIcon(0, QIcon(":/Resources/fixture-16.png"));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(m_checkColumn, Qt::Unchecked);
    m_rows.push_back({item, fixture});
    return item;
}

QList<LumoRDM*> DeviceChecklist::CheckedFixtures() const {
    return WizardSupport::LedFixtures(CheckedDevices());
}

QList<Device*> DeviceChecklist::CheckedDevices() const {
    QList<Device*> checked;
    for (const Row& row : m_rows) {
        if (row.fixture && row.item->checkState(m_checkColumn) == Qt::Checked) {
            checked.append(row.fixture.data());
        }
    }
    return checked;
}

void DeviceChecklist::SetAllChecked(bool checked) {
    {
        const QSignalBlocker blocker(this);  // one change for the lot
        for (const Row& row : m_rows) {
            row.item->setCheckState(m_checkColumn, checked ? Qt::Checked : Qt::Unchecked);
        }
    }
    viewport()->update();
    emit CheckedChanged();
}

void DeviceChecklist::OnItemChanged(QTreeWidgetItem* /*item*/, int column) {
    if (column == m_checkColumn) {
        emit CheckedChanged();
    }
}
