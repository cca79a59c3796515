#pragma once

#include "rdm/SettableParameter.h"
#include "rdm/devices/RDMDevice.h"

#include <QByteArray>
#include <QPointer>
#include <QStyledItemDelegate>

// Edits the settable values of a device's parameter table in place: a line edit for the
// label, a spin box for a per cent, a combo box for the choices (a personality with its
// description and footprint). It never writes the model: the edited value goes out as
// ValueEdited, and the row shows the fixture's answer once the set has run.
class DeviceParameterDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit DeviceParameterDelegate(QObject* parent = nullptr);

    void SetDevice(RDMDevice* device) { m_device = device; }
    // The parameter a cell sets, if the device lists it.
    const SettableParameter* ParameterAt(const QModelIndex& index) const;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

Q_SIGNALS:
    // The user chose a new value, encoded for the line.
    void ValueEdited(const SettableParameter* parameter, const QByteArray& value) const;

private:
    QPointer<RDMDevice> m_device;
};
