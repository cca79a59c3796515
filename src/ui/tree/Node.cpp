#include "ui/tree/Node.h"

QMimeData* Node::MimeData() const {
    return nullptr;
}

bool Node::CanDrop(const QMimeData*, Qt::DropAction) const {
    return false;
}

bool Node::Drop(Qt::DropAction, const QMimeData*) {
    return false;
}
