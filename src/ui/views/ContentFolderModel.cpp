#include "ui/views/ContentFolderModel.h"

#include "content/ContentFolder.h"
#include "content/ContentMimeSource.h"
#include "content/ContentModelMutex.h"
#include "os/Trap.h"
#include "ui/actions/ContentDrop.h"
#include "ui/views/ContentDragData.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPalette>

ContentFolderModel::ContentFolderModel(QObject* parent) : QAbstractTableModel(parent) {
    const bool didConnectSucceed = bool(connect(QApplication::clipboard(), &QClipboard::dataChanged,
                                                this, &ContentFolderModel::UpdateGreyed));
    OS_TRAP_IF(!didConnectSucceed);
}

void ContentFolderModel::SetFolder(ContentFolder* folder) {
    beginResetModel();
    if (m_folder) {
        disconnect(m_folder, nullptr, this, nullptr);
    }
    for (const Row& row : m_rows) {
        if (row.object) {
            disconnect(row.object, nullptr, this, nullptr);
        }
    }
    m_rows.clear();
    m_folder = folder;
    if (folder) {
        {
            const ContentModelLock lock;
            for (int i = 0; i < folder->ChildCount(); ++i) {
                ContentBase* child = folder->Child(i);
                m_rows.push_back({child, child});
                Follow(child);
            }
        }
        bool ok = bool(
            connect(folder, &ContentFolder::ContentAdded, this, &ContentFolderModel::AddContent));
        ok = ok && bool(connect(folder, &ContentFolder::ContentRemoved, this,
                                &ContentFolderModel::RemoveContent));
        ok = ok && bool(connect(folder, &ContentFolder::FolderAdded, this,
                                &ContentFolderModel::AddFolder));
        ok = ok && bool(connect(folder, &ContentFolder::FolderRemoved, this,
                                &ContentFolderModel::RemoveFolder));
        OS_TRAP_IF(!ok);
    }
    endResetModel();
    UpdateGreyed();
}

void ContentFolderModel::Follow(ContentBase* child) {
    bool ok =
        bool(connect(child, &ContentBase::NameChanged, this, &ContentFolderModel::ChangeChild));
    ok = ok &&
         bool(connect(child, &ContentBase::AddressChanged, this, &ContentFolderModel::ChangeChild));
    OS_TRAP_IF(!ok);
}

ContentBase* ContentFolderModel::ObjectAt(int row) const {
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)].object.data() : nullptr;
}

int ContentFolderModel::RowOf(const ContentBase* object) const {
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].shown == object) {
            return int(row);
        }
    }
    return -1;
}

ContentFolder* ContentFolderModel::DropFolder(const QModelIndex& index) const {
    if (auto* folder = qobject_cast<ContentFolder*>(ObjectAt(index))) {
        return folder;
    }
    return m_folder;
}

// Announcements from other threads arrive queued: a child is shown only while it is still in
// the folder, at its place there.
void ContentFolderModel::AddChild(ContentBase* child) {
    if (!m_folder || RowOf(child) >= 0) {
        return;
    }
    int place = -1;
    {
        const ContentModelLock lock;
        for (int i = 0; i < m_folder->ChildCount(); ++i) {
            if (m_folder->Child(i) == child) {
                place = i;
                break;
            }
        }
    }
    if (place < 0) {
        return;
    }
    const int row = std::min(place, int(m_rows.size()));
    beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(m_rows.begin() + row, Row{child, child});
    Follow(child);
    endInsertRows();
}

void ContentFolderModel::RemoveChild(const ContentBase* child) {
    const int row = RowOf(child);
    if (row < 0) {
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    if (m_rows[size_t(row)].object) {
        disconnect(m_rows[size_t(row)].object, nullptr, this, nullptr);
    }
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void ContentFolderModel::AddContent(const ContentFolder*, Content* content) {
    AddChild(content);
}

void ContentFolderModel::RemoveContent(const ContentFolder*, const Content* content) {
    RemoveChild(content);
}

void ContentFolderModel::AddFolder(const ContentFolder*, ContentFolder* folder) {
    AddChild(folder);
}

void ContentFolderModel::RemoveFolder(const ContentFolder*, const ContentFolder* folder) {
    RemoveChild(folder);
}

void ContentFolderModel::ChangeChild(const ContentBase* child) {
    const int row = RowOf(child);
    if (row >= 0) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}

void ContentFolderModel::SetGreyed(const std::vector<bool>& greyed) {
    bool changed = false;
    for (size_t row = 0; row < m_rows.size(); ++row) {
        changed = changed || m_rows[row].greyed != greyed[row];
        m_rows[row].greyed = greyed[row];
    }
    if (changed) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {GreyedRole});
    }
}

void ContentFolderModel::UpdateGreyed() {
    std::vector<bool> greyed(m_rows.size(), false);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data && ContentMimeSource::CanDecode(*data) &&
        ContentDrop::KindOf(*data) == ContentDrop::kCut) {
        const ContentModelLock lock;
        for (ContentBase* cut : ContentMimeSource(*data, ContentDrop::kCut).Contents()) {
            if (const int row = RowOf(cut); row >= 0) {
                greyed[size_t(row)] = true;
            }
        }
    }
    SetGreyed(greyed);
}

void ContentFolderModel::SetDragData(const QMimeData* data) {
    if (!data) {
        UpdateGreyed();
        return;
    }
    std::vector<bool> greyed(m_rows.size(), true);
    for (size_t row = 0; row < m_rows.size(); ++row) {
        const auto* folder = qobject_cast<const ContentFolder*>(m_rows[row].object);
        greyed[row] = !folder || !ContentDrop::Actions(folder, data);
    }
    SetGreyed(greyed);
}

int ContentFolderModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ContentFolderModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant ContentFolderModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(m_rows.size())) {
        return {};
    }
    const Row& row = m_rows[size_t(index.row())];
    if (role == GreyedRole) {
        return row.greyed;
    }
    if (role == ObjectRole) {
        return QVariant::fromValue(static_cast<QObject*>(row.object.data()));
    }
    if (role == Qt::ForegroundRole && row.greyed) {
        return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    }
    ContentBase* object = row.object;
    if (!object) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return index.column() == NameColumn ? QVariant(object->Name())
                                            : QVariant(object->Address());
    }
    if (role == Qt::DecorationRole && index.column() == NameColumn) {
        if (const auto* folder = qobject_cast<const ContentFolder*>(object)) {
            return folder->Icon();
        }
        if (const auto* item = qobject_cast<const Content*>(object)) {
            return item->Icon();
        }
    }
    return {};
}

QVariant ContentFolderModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return section == NameColumn ? QStringLiteral("Name") : QStringLiteral("Address");
    }
    return {};
}

Qt::ItemFlags ContentFolderModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = Qt::ItemIsDropEnabled;
    if (index.isValid()) {
        flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
        if (qobject_cast<const ContentFolder*>(ObjectAt(index))) {
            flags |= Qt::ItemIsDropEnabled;
        }
    }
    return flags;
}

QStringList ContentFolderModel::mimeTypes() const {
    return {ContentMimeSource::MimeFormat(), QStringLiteral("text/uri-list")};
}

QMimeData* ContentFolderModel::mimeData(const QModelIndexList& indexes) const {
    QList<ContentBase*> objects;
    for (const QModelIndex& index : indexes) {
        ContentBase* object = ObjectAt(index);
        if (object && !objects.contains(object)) {
            objects.append(object);
        }
    }
    return objects.isEmpty() ? nullptr : new ContentDragData(objects);
}

Qt::DropActions ContentFolderModel::supportedDropActions() const {
    return Qt::CopyAction | Qt::MoveAction;
}

Qt::DropActions ContentFolderModel::supportedDragActions() const {
    return Qt::CopyAction | Qt::MoveAction;
}

bool ContentFolderModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                         const QModelIndex& parent) const {
    return ContentDrop::CanDrop(DropFolder(parent), data, action);
}

bool ContentFolderModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                      const QModelIndex& parent) {
    return ContentDrop::DropLater(QApplication::activeWindow(), DropFolder(parent), data, action);
}
