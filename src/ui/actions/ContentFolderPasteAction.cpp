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
    const std::unique_ptr<QMimeData> data =
        ContentDrop::Copy(*QApplication::clipboard()->mimeData());
    const Qt::DropAction action = ContentDrop::PasteAction(folder, data.get());
    if (ContentDrop::Drop(ParentWidget(), folder, data.get(), action) && action == Qt::MoveAction) {
        QApplication::clipboard()->clear();
    }
}
