#pragma once

#include "content/ContentFolder.h"
#include "ui/tree/Node.h"

#include <QPointer>

// A tree item that stands for one content folder. Rows of folders are [address, name]; the
// address item holds the rows of the folder's sub-folders and follows the folder as they come
// and go. Drags carry the folder; drops go to the folder by the content drop rules.
class ContentFolderNode : public Node {
    Q_OBJECT
public:
    explicit ContentFolderNode(ContentFolder* folder);

    ContentFolder* GetFolder() const { return m_folder; }

    // Appends a row for every sub-folder of `folder` to `parent` and keeps them current.
    static void Follow(Node* parent, ContentFolder* folder);
    // "3 of 255 used": how many children the folder holds of the addresses it has.
    static QString CapacityText(const ContentFolder* folder);

    QVariant data(int role) const override;
    QMimeData* MimeData() const override;
    bool CanDrop(const QMimeData* data, Qt::DropAction action) const override;
    bool Drop(Qt::DropAction action, const QMimeData* data) override;

private:
    QPointer<ContentFolder> m_folder;
};

// The address column of a folder row; its children are the sub-folders' rows.
class ContentAddressNode : public ContentFolderNode {
    Q_OBJECT
public:
    explicit ContentAddressNode(ContentFolder* folder);

public Q_SLOTS:
    void OnAddressChanged(const ContentBase* content, int address);
};

// The name column of a folder row, kept current. Editing it renames the folder through the
// folder that holds it; a refusal is shown and the old name stays.
class ContentNameNode : public ContentFolderNode {
    Q_OBJECT
public:
    explicit ContentNameNode(ContentFolder* folder);

    void setData(const QVariant& value, int role) override;

public Q_SLOTS:
    void OnNameChanged(const ContentBase* content, const QString& oldName);
};
