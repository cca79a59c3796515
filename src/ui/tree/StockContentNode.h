#pragma once

#include "content/library/StockContent.h"
#include "ui/tree/ContentLibraryNode.h"

// The stock content that comes with the program; the node owns its root.
class StockContentNode : public ContentRootNode {
    Q_OBJECT
public:
    explicit StockContentNode(std::unique_ptr<StockContentRoot> root)
        : ContentRootNode("Stock Content", std::unique_ptr<ContentFolder>(std::move(root))) {}
};
