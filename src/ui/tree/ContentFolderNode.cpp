#include "ui/tree/ContentFolderNode.h"

#include "comm/FeedbackCollector.h"
#include "content/ContentFolder.h"
#include "content/ContentMimeSource.h"
#include "content/ContentModelMutex.h"
#include "os/Trap.h"

#include <QApplication>
#include <QMessageBox>
#include <QMimeData>

namespace {

int RowOf(const QStandardItem* parent, const ContentFolder* folder) {
    for (int row = 0; row < parent->rowCount(); ++row) {
        auto* node = dynamic_cast<ContentFolderNode*>(parent->child(row, 0));
        if (node && node->GetFolder() == folder) {
            return row;
        }
    }
    return -1;
}

void AppendRow(Node* parent, ContentFolder* folder) {
    if (RowOf(parent, folder) >= 0) {
        return;
    }
    auto* address = new ContentAddressNode(folder);
    parent->appendRow({address, new ContentNameNode(folder)});
    ContentFolderNode::Follow(address, folder);
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

void ContentFolderNode::Follow(Node* parent, ContentFolder* folder) {
    {
        const ContentModelLock lock;
        for (int i = 0; i < folder->ChildCount(); ++i) {
            if (auto* child = qobject_cast<ContentFolder*>(folder->Child(i))) {
                AppendRow(parent, child);
            }
        }
    }
    bool didConnectSucceed = bool(QObject::connect(
        folder, &ContentFolder::FolderAdded, parent,
        [parent](const ContentFolder*, ContentFolder* added) { AppendRow(parent, added); }));
    OS_TRAP_IF(!didConnectSucceed);
    didConnectSucceed =
        bool(QObject::connect(folder, &ContentFolder::FolderRemoved, parent,
                              [parent](const ContentFolder*, const ContentFolder* removed) {
                                  const int row = RowOf(parent, removed);
                                  if (row >= 0) {
                                      parent->removeRow(row);
                                  }
                              }));
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
