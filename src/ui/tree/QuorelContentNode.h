#pragma once

#include "ui/tree/Node.h"

#include <QIcon>

// The top-level "Quorel Content" node.
class QuorelContentNode : public Node {
    Q_OBJECT
public:
    QuorelContentNode() : Node("Quorel Content") {
        setIcon(QIcon(":/Resources/content-database-16.png"));
        setEditable(false);
        setDragEnabled(false);
        setDropEnabled(false);
    }
};
