#pragma once

#include <QStandardItemModel>

// Helpers for the two-column property tables of the device views.
namespace PropertyTable {

inline void Reset(QStandardItemModel* model) {
    model->clear();
    model->setColumnCount(2);
    model->setHorizontalHeaderItem(0, new QStandardItem(QStringLiteral("Parameter")));
    model->setHorizontalHeaderItem(1, new QStandardItem(QStringLiteral("Value")));
}

inline void AddRow(QStandardItemModel* model, const QString& label, const QString& value) {
    model->appendRow({new QStandardItem(label), new QStandardItem(value)});
}

}  // namespace PropertyTable
