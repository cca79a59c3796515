#pragma once

#include "ui/tree/ContentFolderNode.h"
#include "ui/tree/Node.h"

#include <QIcon>

#include <memory>

// A top-level content node ("Content Library", "Stock Content", "Quorel Content"): the
// folders below its root, kept current. The node owns the root when it is handed one.
class ContentRootNode : public Node {
public:
    ContentRootNode(const QString& text, ContentFolder* root) : Node(text), m_root(root) {
        setIcon(QIcon(":/Resources/content-database-16.png"));
        setEditable(false);
        setDragEnabled(false);
        setDropEnabled(false);
        ContentFolderNode::Follow(this, root);
    }
    ContentRootNode(const QString& text, std::unique_ptr<ContentFolder> root)
        : ContentRootNode(text, root.get()) {
        m_owned = std::move(root);
    }

    ContentFolder* GetRoot() const { return m_root; }

private:
    ContentFolder* m_root;
    std::unique_ptr<ContentFolder> m_owned;
};

// The user content library.
class ContentLibraryNode : public ContentRootNode {
    Q_OBJECT
public:
    explicit ContentLibraryNode(ContentFolder* library)
        : ContentRootNode("Content Library", library) {}
};
