#pragma once

#include "ui/tree/Node.h"

#include <QIcon>

// The top-level "Content Library" node.
class ContentLibraryNode : public Node {
    Q_OBJECT
public:
    ContentLibraryNode() : Node("Content Library") {
        setIcon(QIcon(":/Resources/content-database-16.png"));
        setEditable(false);
        setDragEnabled(false);
        setDropEnabled(false);
    }
};
