#pragma once

#include <QStandardItemModel>

class Node;

// The node tree's model: two columns, "Address" and "Name". Drags and drops are handed to
// the nodes.
class NodeModel : public QStandardItemModel {
    Q_OBJECT
public:
    explicit NodeModel(QObject* parent = nullptr);

    Node* NodeFromIndex(const QModelIndex& index) const;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    Qt::DropActions supportedDropActions() const override;
};
