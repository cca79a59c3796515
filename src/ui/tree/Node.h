#pragma once

#include <QObject>
#include <QStandardItem>

class QMimeData;

// One item of the node tree. Nodes are QObjects so that they can follow the objects they
// show; the model owns them as items. The base node can be neither dragged nor dropped on.
class Node : public QObject, public QStandardItem {
    Q_OBJECT
public:
    Node() = default;
    explicit Node(const QString& text) : QStandardItem(text) {}

    // What a drag of this node carries (caller owns it); none by default.
    virtual QMimeData* MimeData() const;
    // Whether this node takes the data with the proposed action.
    virtual bool CanDrop(const QMimeData* data, Qt::DropAction action) const;
    // Takes the dropped data; false when refused.
    virtual bool Drop(Qt::DropAction action, const QMimeData* data);
};
