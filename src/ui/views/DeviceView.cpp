#include "ui/views/DeviceView.h"

#include "rdm/devices/Device.h"

#include <QHeaderView>
#include <QStandardItemModel>

DeviceView::DeviceView(QWidget* parent)
    : QTableView(parent), m_model(new QStandardItemModel(0, 2, this)) {
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setStretchLastSection(true);
}

void DeviceView::SetDevice(Device* device) {
    if (device != m_device) {
        disconnect(m_addressConnection);
        m_device = device;
        if (device) {
            m_addressConnection =
                connect(device, &Device::AddressChanged, this, &DeviceView::Refresh);
        }
    }
    Refresh();
}

void DeviceView::Refresh() {
    if (m_device) {
        m_device->FillProperties(m_model);
    } else {
        m_model->clear();
        m_model->setHorizontalHeaderLabels({"Parameter", "Value"});
    }
    resizeColumnToContents(0);
}
