#include "ui/tree/ContentFolderNode.h"

#include "comm/FeedbackCollector.h"
#include "content/ContentFolder.h"
#include "content/ContentMimeSource.h"
#include "content/ContentModelMutex.h"
#include "os/Trap.h"
#include "ui/tree/ContentItemNode.h"

#include <QApplication>
#include <QMessageBox>
#include <QMimeData>

namespace {

// The row that stands for the folder or item, or -1.
int RowOf(const QStandardItem* parent, const ContentBase* object) {
    for (int row = 0; row < parent->rowCount(); ++row) {
        QStandardItem* child = parent->child(row, 0);
        const auto* folder = dynamic_cast<ContentFolderNode*>(child);
        const auto* item = dynamic_cast<ContentItemNode*>(child);
        if ((folder && folder->GetFolder() == object) || (item && item->Shows(object))) {
            return row;
        }
    }
    return -1;
}

void RemoveRow(Node* parent, const ContentBase* object) {
    const int row = RowOf(parent, object);
    if (row >= 0) {
        parent->removeRow(row);
    }
}

void AppendRow(Node* parent, ContentFolder* folder, bool withItems) {
    if (RowOf(parent, folder) >= 0) {
        return;
    }
    auto* address = new ContentAddressNode(folder);
    parent->appendRow({address, new ContentNameNode(folder)});
    ContentFolderNode::Follow(address, folder, withItems);
}

void AppendItem(Node* parent, Content* item) {
    parent->appendRow({new ContentItemNode(item, ContentItemNode::Column::Address),
                       new ContentItemNode(item, ContentItemNode::Column::Name)});
}

// Announcements from other threads arrive queued: an item is shown only while it is still in
// the folder.
void AppendAddedItem(Node* parent, ContentFolder* folder, const Content* added) {
    const ContentModelLock lock;
    for (int i = 0; i < folder->ChildCount(); ++i) {
        if (folder->Child(i) == added && RowOf(parent, added) < 0) {
            AppendItem(parent, qobject_cast<Content*>(folder->Child(i)));
            return;
        }
    }
}

// The content items a drop carries (folders are not dropped onto folders of a tree here).
QList<Content*> DroppedItems(const QMimeData* data) {
    QList<Content*> items;
    if (!data || !ContentMimeSource::CanDecode(*data)) {
        return items;
    }
    for (ContentBase* object : ContentMimeSource(*data, 0).Contents()) {
        auto* item = qobject_cast<Content*>(object);
        if (!item) {
            return {};
        }
        items.append(item);
    }
    return items;
}

}  // namespace

ContentFolderNode::ContentFolderNode(ContentFolder* folder) : m_folder(folder) {
    setEditable(false);
    setDragEnabled(true);
    setDropEnabled(true);
    setIcon(folder->Icon());
}

void ContentFolderNode::Follow(Node* parent, ContentFolder* folder, bool withItems) {
    {
        const ContentModelLock lock;
        for (int i = 0; i < folder->ChildCount(); ++i) {
            ContentBase* child = folder->Child(i);
            if (auto* subFolder = qobject_cast<ContentFolder*>(child)) {
                AppendRow(parent, subFolder, withItems);
            } else if (auto* item = qobject_cast<Content*>(child); item && withItems) {
                AppendItem(parent, item);
            }
        }
    }
    bool didConnectSucceed =
        bool(QObject::connect(folder, &ContentFolder::FolderAdded, parent,
                              [parent, withItems](const ContentFolder*, ContentFolder* added) {
                                  AppendRow(parent, added, withItems);
                              }));
    OS_TRAP_IF(!didConnectSucceed);
    didConnectSucceed =
        bool(QObject::connect(folder, &ContentFolder::FolderRemoved, parent,
                              [parent](const ContentFolder*, const ContentFolder* removed) {
                                  RemoveRow(parent, removed);
                              }));
    OS_TRAP_IF(!didConnectSucceed);
    if (!withItems) {
        return;
    }
    didConnectSucceed = bool(QObject::connect(
        folder, &ContentFolder::ContentAdded, parent,
        [parent, folder = QPointer<ContentFolder>(folder)](const ContentFolder*, Content* added) {
            if (folder) {
                AppendAddedItem(parent, folder, added);
            }
        }));
    OS_TRAP_IF(!didConnectSucceed);
    didConnectSucceed = bool(QObject::connect(
        folder, &ContentFolder::ContentRemoved, parent,
        [parent](const ContentFolder*, const Content* removed) { RemoveRow(parent, removed); }));
    OS_TRAP_IF(!didConnectSucceed);
}

bool ContentFolderNode::CanDrop(const QMimeData* data, Qt::DropAction action) const {
    if (!m_folder || (action != Qt::CopyAction && action != Qt::MoveAction)) {
        return false;
    }
    const ContentModelLock lock;
    const QList<Content*> items = DroppedItems(data);
    return !items.isEmpty() && std::all_of(items.begin(), items.end(), [this](Content* item) {
        return m_folder->AcceptsContent(item);
    });
}

bool ContentFolderNode::Drop(Qt::DropAction action, const QMimeData* data) {
    if (!CanDrop(data, action)) {
        return false;
    }
    FeedbackCollector feedback;
    bool ok = true;
    {
        const ContentModelLock lock;
        ContentList copies;
        for (Content* item : DroppedItems(data)) {
            // An item moved within the same fixture moves there; anything else is copied.
            if (action == Qt::MoveAction && item->Root() == m_folder->Root()) {
                ok = m_folder->Move(item, &feedback) && ok;
            } else {
                copies.push_back(item->Clone());
            }
        }
        if (!copies.empty()) {
            ok = m_folder->AddContent(std::move(copies), &feedback) && ok;
        }
    }
    // What the folder refused is shown once the drop is done.
    if (!feedback.Errors().isEmpty()) {
        QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("Drop Failed"),
                             feedback.Errors().join('\n'));
    }
    return ok;
}

ContentAddressNode::ContentAddressNode(ContentFolder* folder) : ContentFolderNode(folder) {
    setData(folder->Address(), Qt::DisplayRole);
    const bool didConnectSucceed = bool(
        connect(folder, &ContentBase::AddressChanged, this, &ContentAddressNode::OnAddressChanged));
    OS_TRAP_IF(!didConnectSucceed);
}

void ContentAddressNode::OnAddressChanged(const ContentBase*, int address) {
    setData(address, Qt::DisplayRole);
}

ContentNameNode::ContentNameNode(ContentFolder* folder) : ContentFolderNode(folder) {
    setText(folder->Name());
    setIcon(QIcon());
    const bool didConnectSucceed =
        bool(connect(folder, &ContentBase::NameChanged, this, &ContentNameNode::OnNameChanged));
    OS_TRAP_IF(!didConnectSucceed);
}

void ContentNameNode::OnNameChanged(const ContentBase* content, const QString&) {
    setText(content->Name());
}
