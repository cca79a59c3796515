#include "ui/views/DeviceParameterDelegate.h"

#include "rdm/SettableParameter.h"
#include "rdm/devices/PropertyTable.h"
#include "rdm/devices/RDMDevice.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

DeviceParameterDelegate::DeviceParameterDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

const SettableParameter* DeviceParameterDelegate::ParameterAt(const QModelIndex& index) const {
    const QVariant pid = index.data(PropertyTable::kPidRole);
    if (!m_device || index.column() != 1 || !pid.isValid()) {
        return nullptr;
    }
    const SettableParameter* parameter = SettableParameter::ForRow(quint16(pid.toInt()));
    return parameter && m_device->GetSupportedParameters().contains(parameter->pid) ? parameter
                                                                                    : nullptr;
}

QWidget* DeviceParameterDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                               const QModelIndex& index) const {
    const SettableParameter* parameter = ParameterAt(index);
    if (!parameter) {
        return nullptr;
    }
    switch (parameter->kind) {
        case SettableParameter::Kind::Text: {
            auto* edit = new QLineEdit(parent);
            edit->setMaxLength(parameter->width);
            return edit;
        }
        case SettableParameter::Kind::Percent: {
            auto* spin = new QSpinBox(parent);
            spin->setRange(0, 100);
            spin->setSuffix(QStringLiteral("%"));
            return spin;
        }
        case SettableParameter::Kind::Choice:
        case SettableParameter::Kind::Personality:
            break;
    }
    auto* combo = new QComboBox(parent);
    for (const SettableParameter::Offer& offer : parameter->Offers(*m_device)) {
        combo->addItem(offer.second, offer.first);
    }
    // A choice is made by picking it: the edit ends there.
    connect(combo, &QComboBox::activated, this, [this, combo] {
        Q_EMIT const_cast<DeviceParameterDelegate*>(this)->commitData(combo);
        Q_EMIT const_cast<DeviceParameterDelegate*>(this)->closeEditor(combo);
    });
    return combo;
}

void DeviceParameterDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const SettableParameter* parameter = ParameterAt(index);
    if (!parameter) {
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(index.data().toString());
    } else if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
        spin->setValue(index.data().toString().remove('%').toInt());
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setCurrentIndex(parameter->CurrentOffer(*m_device));
    }
}

void DeviceParameterDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                           const QModelIndex& index) const {
    const SettableParameter* parameter = ParameterAt(index);
    if (!parameter) {
        return;
    }
    QString typed;
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        typed = edit->text();
    } else if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
        typed = QString::number(spin->value());
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->currentIndex() < 0) {
            return;
        }
        typed = QString::number(combo->currentData().toInt());
    }
    QByteArray value;
    if (!parameter->Encode(typed, *m_device, &value).isEmpty()) {
        return;
    }
    // An unchanged value sends nothing.
    const bool unchanged =
        parameter->kind == SettableParameter::Kind::Text ||
                parameter->kind == SettableParameter::Kind::Percent
            ? index.data().toString() ==
                  typed + (parameter->kind == SettableParameter::Kind::Percent ? QStringLiteral("%")
                                                                               : QString())
            : parameter->value && quint8(value[0]) == parameter->value(*m_device);
    if (!unchanged) {
        Q_EMIT ValueEdited(parameter, value);
    }
}
