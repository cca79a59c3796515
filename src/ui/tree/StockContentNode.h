#pragma once

#include "ui/tree/Node.h"

#include <QIcon>

// The top-level "Stock Content" node.
class StockContentNode : public Node {
    Q_OBJECT
public:
    StockContentNode() : Node("Stock Content") {
        setIcon(QIcon(":/Resources/content-database-16.png"));
        setEditable(false);
        setDragEnabled(false);
        setDropEnabled(false);
    }
};
