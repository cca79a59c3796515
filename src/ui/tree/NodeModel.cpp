#include "ui/tree/NodeModel.h"

#include "ui/tree/Node.h"

NodeModel::NodeModel(QObject* parent) : QStandardItemModel(0, 2, parent) {
    setHorizontalHeaderLabels({"Address", "Name"});
}

Node* NodeModel::NodeFromIndex(const QModelIndex& index) const {
    return dynamic_cast<Node*>(itemFromIndex(index));
}

QStringList NodeModel::mimeTypes() const {
    return {"application/x-qt-windows-mime;value=\"corvane-aurel-contents\""};
}

QMimeData* NodeModel::mimeData(const QModelIndexList& indexes) const {
    Node* node = indexes.isEmpty() ? nullptr : NodeFromIndex(indexes.first());
    return node ? node->MimeData() : nullptr;
}

bool NodeModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                             const QModelIndex& parent) {
    Node* node = NodeFromIndex(parent);
    return node && node->Drop(action, data);
}

Qt::DropActions NodeModel::supportedDropActions() const {
    return Qt::CopyAction | Qt::MoveAction;
}
