#pragma once

#include "content/library/QuorelContentLibrary.h"
#include "ui/tree/ContentLibraryNode.h"

// The Quorel content library; the node owns its root.
class QuorelContentNode : public ContentRootNode {
    Q_OBJECT
public:
    explicit QuorelContentNode(std::unique_ptr<QuorelContentLibraryRoot> root)
        : ContentRootNode("Quorel Content", std::unique_ptr<ContentFolder>(std::move(root))) {}
};
