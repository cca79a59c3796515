#include "ui/actions/ContentFolderPasteAction.h"

#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "ui/actions/ContentDrop.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace {

bool Takes(const ContentFolder* folder) {
    const ContentModelLock lock;
    return folder && !folder->ChildrenReadOnly() &&
           ContentDrop::PasteAction(folder, QApplication::clipboard()->mimeData()) !=
               Qt::IgnoreAction;
}

}  // namespace

ContentFolderPasteAction::ContentFolderPasteAction(ContentFolder* folder, QWidget* parent)
    : ContentFolderAction("Paste", folder, parent) {
    setEnabled(Takes(folder));
}

void ContentFolderPasteAction::execute() {
    ContentFolder* folder = Folder();
    if (!Takes(folder)) {
        return;
    }
    // The clipboard may change while the operation runs: its data are copied first.
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    QMimeData data;
    for (const QString& format : clipboard->formats()) {
        data.setData(format, clipboard->data(format));
    }
    const Qt::DropAction action = ContentDrop::PasteAction(folder, &data);
    if (ContentDrop::Drop(ParentWidget(), folder, &data, action) && action == Qt::MoveAction) {
        QApplication::clipboard()->clear();
    }
}
