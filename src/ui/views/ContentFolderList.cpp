#include "ui/views/ContentFolderList.h"

#include "content/ContentFolder.h"
#include "os/Trap.h"
#include "ui/actions/ContentActionMenu.h"
#include "ui/views/ContentFolderModel.h"

#include <QContextMenuEvent>
#include <QHeaderView>

ContentFolderList::ContentFolderList(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(true);
    const bool didConnectSucceed =
        bool(connect(this, &QAbstractItemView::activated, this, &ContentFolderList::ActivateItem));
    OS_TRAP_IF(!didConnectSucceed);
}

ContentFolderModel* ContentFolderList::FolderModel() const {
    return qobject_cast<ContentFolderModel*>(model());
}

QList<ContentBase*> ContentFolderList::SelectedObjects() const {
    QList<ContentBase*> objects;
    QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    std::sort(rows.begin(), rows.end());
    for (const QModelIndex& row : rows) {
        if (ContentBase* object = FolderModel()->ObjectAt(row)) {
            objects.append(object);
        }
    }
    return objects;
}

void ContentFolderList::ActivateItem(const QModelIndex& index) {
    if (ContentFolder* folder = ContentActionMenu::Open(FolderModel()->ObjectAt(index), this)) {
        emit navigateTo(folder);
    }
}

void ContentFolderList::keyPressEvent(QKeyEvent* event) {
    if (!ContentActionMenu::HandleKey(event, FolderModel()->Folder(), SelectedObjects(), this)) {
        QTreeView::keyPressEvent(event);
    }
}

void ContentFolderList::contextMenuEvent(QContextMenuEvent* event) {
    ContentActionMenu::Popup(FolderModel()->Folder(), SelectedObjects(),
                             FolderModel()->ObjectAt(indexAt(event->pos())), this,
                             event->globalPos());
}
