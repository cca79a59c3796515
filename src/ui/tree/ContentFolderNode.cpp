#include "ui/tree/ContentFolderNode.h"

#include "content/ContentMimeSource.h"
#include "content/ContentModelMutex.h"
#include "os/Trap.h"
#include "ui/actions/ContentDrop.h"

#include <QApplication>
#include <QMessageBox>
#include <QMimeData>

namespace {

// The row that stands for the folder, or -1.
int RowOf(const QStandardItem* parent, const ContentBase* folder) {
    for (int row = 0; row < parent->rowCount(); ++row) {
        const auto* node = dynamic_cast<ContentFolderNode*>(parent->child(row, 0));
        if (node && node->GetFolder() == folder) {
            return row;
        }
    }
    return -1;
}

void RemoveRow(Node* parent, const ContentBase* folder) {
    const int row = RowOf(parent, folder);
    if (row >= 0) {
        parent->removeRow(row);
    }
}

void AppendRow(Node* parent, ContentFolder* folder) {
    if (RowOf(parent, folder) >= 0) {
        return;
    }
    auto* address = new ContentAddressNode(folder);
    parent->appendRow({address, new ContentNameNode(folder)});
    ContentFolderNode::Follow(address, folder);
}

// Whether the folder may be renamed where it is.
bool Renamable(const ContentFolder* folder) {
    const ContentModelLock lock;
    const ContentFolder* parent = folder->Parent();
    return !folder->IsReadOnly() && parent && !parent->ChildrenReadOnly();
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
            if (auto* subFolder = qobject_cast<ContentFolder*>(folder->Child(i))) {
                AppendRow(parent, subFolder);
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
                                  RemoveRow(parent, removed);
                              }));
    OS_TRAP_IF(!didConnectSucceed);
}

QString ContentFolderNode::CapacityText(const ContentFolder* folder) {
    const ContentModelLock lock;
    const int lowest = std::max(folder->MinAddress(), 1);
    const int addresses = std::max(folder->MaxAddress() - lowest + 1, 0);
    return QStringLiteral("%1 of %2 used").arg(folder->ChildCount()).arg(addresses);
}

QVariant ContentFolderNode::data(int role) const {
    // The capacity is counted when it is shown, so that it needs no signal of its own.
    if (role == Qt::ToolTipRole && m_folder) {
        return CapacityText(m_folder);
    }
    return Node::data(role);
}

QMimeData* ContentFolderNode::MimeData() const {
    if (!m_folder) {
        return nullptr;
    }
    return ContentMimeSource::MimeData({m_folder.data()}).release();
}

bool ContentFolderNode::CanDrop(const QMimeData* data, Qt::DropAction action) const {
    return ContentDrop::CanDrop(m_folder, data, action);
}

bool ContentFolderNode::Drop(Qt::DropAction action, const QMimeData* data) {
    return ContentDrop::DropLater(QApplication::activeWindow(), m_folder, data, action);
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
    setEditable(Renamable(folder));
    const bool didConnectSucceed =
        bool(connect(folder, &ContentBase::NameChanged, this, &ContentNameNode::OnNameChanged));
    OS_TRAP_IF(!didConnectSucceed);
}

void ContentNameNode::setData(const QVariant& value, int role) {
    if (role != Qt::EditRole) {
        ContentFolderNode::setData(value, role);
        return;
    }
    ContentFolder* folder = GetFolder();
    const QString name = value.toString();
    // A folder that may not be renamed where it is keeps its name without a word.
    if (!folder || name == folder->Name() || !Renamable(folder)) {
        return;
    }
    bool renamed = false;
    {
        const ContentModelLock lock;
        renamed = folder->Parent()->Rename(folder, name, folder->Address(), nullptr);
    }
    // The row shows the new name when the folder announces it.
    if (!renamed) {
        QMessageBox::warning(QApplication::activeWindow(), "Rename Failed",
                             "The content could not be renamed");
    }
}

void ContentNameNode::OnNameChanged(const ContentBase* content, const QString&) {
    setText(content->Name());
}
