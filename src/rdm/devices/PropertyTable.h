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

// The role of a value item that holds the id of the RDM parameter the row shows.
constexpr int kPidRole = Qt::UserRole + 1;

// Appends a row; `pid`, when given, marks the value as that parameter's.
inline void AddRow(QStandardItemModel* model, const QString& label, const QString& value,
                   int pid = -1) {
    auto* item = new QStandardItem(value);
    if (pid >= 0) {
        item->setData(pid, kPidRole);
    }
    model->appendRow({new QStandardItem(label), item});
}

}  // namespace PropertyTable
