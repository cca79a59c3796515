#include "ui/views/DeviceView.h"

#include "rdm/devices/RDMDevice.h"
#include "ui/views/DeviceParameterDelegate.h"

#include "rdm/RdmDefs.h"
#include "rdm/SettableParameter.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QStandardItemModel>

DeviceView::DeviceView(QWidget* parent)
    : QTableView(parent),
      m_model(new QStandardItemModel(0, 2, this)),
      m_delegate(new DeviceParameterDelegate(this)) {
    setModel(m_model);
    setItemDelegateForColumn(1, m_delegate);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed);
    connect(m_delegate, &DeviceParameterDelegate::ValueEdited, this,
            [this](const SettableParameter* parameter, const QByteArray& value) {
                if (m_device) {
                    Q_EMIT SetParameterRequested(m_device, parameter, value);
                }
            });
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
        m_delegate->SetDevice(qobject_cast<RDMDevice*>(device));
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
        // Only the values the fixture lets the program set are editable.
        for (int row = 0; row < m_model->rowCount(); ++row) {
            for (int column = 0; column < m_model->columnCount(); ++column) {
                QStandardItem* item = m_model->item(row, column);
                item->setEditable(m_delegate->ParameterAt(item->index()) != nullptr);
            }
        }
    } else {
        m_model->clear();
        m_model->setHorizontalHeaderLabels({"Parameter", "Value"});
    }
    resizeColumnToContents(0);
}

std::unique_ptr<QMenu> DeviceView::BuildMenu() {
    auto* device = qobject_cast<RDMDevice*>(m_device.data());
    const SettableParameter* reset = SettableParameter::Find(quint16(Rdm::ResetDevice));
    if (!device || !device->GetSupportedParameters().contains(reset->pid)) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>(this);
    for (const SettableParameter::Offer& offer : reset->Offers(*device)) {
        const quint8 value = offer.first;
        connect(menu->addAction(offer.second), &QAction::triggered, this, [this, reset, value] {
            if (m_device) {
                Q_EMIT SetParameterRequested(m_device, reset, QByteArray(1, char(value)));
            }
        });
    }
    return menu;
}

void DeviceView::contextMenuEvent(QContextMenuEvent* event) {
    if (std::unique_ptr<QMenu> menu = BuildMenu()) {
        menu->exec(event->globalPos());
    }
}
