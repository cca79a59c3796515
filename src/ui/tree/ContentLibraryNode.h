#pragma once

#include "ui/tree/ContentFolderNode.h"
#include "ui/tree/Node.h"

#include <QIcon>

// The top-level "Content Library" node: the packages, folders and items of the library, kept
// current.
class ContentLibraryNode : public Node {
    Q_OBJECT
public:
    explicit ContentLibraryNode(ContentFolder* library) : Node("Content Library") {
        setIcon(QIcon(":/Resources/content-database-16.png"));
        setEditable(false);
        setDragEnabled(false);
        setDropEnabled(false);
        ContentFolderNode::Follow(this, library, true);
    }
};
