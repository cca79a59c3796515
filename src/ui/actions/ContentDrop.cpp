#include "ui/actions/ContentDrop.h"

#include "content/ContentFolder.h"
#include "content/ContentMimeSource.h"
#include "content/ContentModelMutex.h"
#include "content/operations/ContentCopyOperation.h"
#include "content/operations/ContentMoveOperation.h"
#include "ui/actions/RunContentOperation.h"

#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

QList<ContentBase*> Contents(const QMimeData& data) {
    const ContentModelLock lock;
    return ContentMimeSource(data, ContentDrop::KindOf(data)).Contents();
}

// The local files the data names (from the desktop's file manager).
QStringList LocalFiles(const QMimeData& data) {
    QStringList files;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) {
            files.append(url.toLocalFile());
        }
    }
    return files;
}

bool TakesFiles(const ContentFolder* target, const QStringList& files) {
    if (files.isEmpty() || target->ChildrenReadOnly() || target->ViewOnly()) {
        return false;
    }
    // The folder's own policy says whether it makes items of these files (empty ones here).
    return !const_cast<ContentFolder*>(target)->NewContents(files).empty();
}

// Moving an item into the folder that holds it already changes nothing.
bool AlreadyThere(const QList<ContentBase*>& items, const ContentFolder* target) {
    const ContentModelLock lock;
    return std::any_of(items.begin(), items.end(),
                       [target](const ContentBase* item) { return item->Parent() == target; });
}

bool DropFiles(QWidget* parent, ContentFolder* target, const QStringList& files) {
    // The import dialogs run one after the other, without the content lock held meanwhile.
    ContentList imported = target->ImportFiles(target->FirstFreeAddress(), files);
    if (imported.empty()) {
        return false;
    }
    QList<ContentBase*> items;
    for (const std::unique_ptr<Content>& item : imported) {
        items.append(item.get());
    }
    return RunContentOperation(parent, std::make_unique<ContentCopyOperation>(items, target));
}

}  // namespace

const char* ContentDrop::KindFormat() {
    return "application/x-corvane-aurel-content-kind";
}

int ContentDrop::KindOf(const QMimeData& data) {
    bool ok = false;
    const int kind = data.data(KindFormat()).toInt(&ok);
    return ok ? kind : kDragged;
}

bool ContentDrop::CanDrop(const ContentFolder* target, const QMimeData* data,
                          Qt::DropAction action) {
    if (!target || !data || (action != Qt::CopyAction && action != Qt::MoveAction)) {
        return false;
    }
    if (!ContentMimeSource::CanDecode(*data)) {
        return action == Qt::CopyAction && TakesFiles(target, LocalFiles(*data));
    }
    const QList<ContentBase*> items = Contents(*data);
    auto* folder = const_cast<ContentFolder*>(target);
    if (action == Qt::CopyAction) {
        return ContentCopyOperation(items, folder).CanExecute();
    }
    return !AlreadyThere(items, target) && ContentMoveOperation(items, folder).CanExecute();
}

Qt::DropActions ContentDrop::Actions(const ContentFolder* target, const QMimeData* data) {
    Qt::DropActions actions;
    for (Qt::DropAction action : {Qt::CopyAction, Qt::MoveAction}) {
        if (CanDrop(target, data, action)) {
            actions |= action;
        }
    }
    return actions;
}

Qt::DropAction ContentDrop::PasteAction(const ContentFolder* target, const QMimeData* data) {
    if (!data) {
        return Qt::IgnoreAction;
    }
    if (KindOf(*data) == kCut && CanDrop(target, data, Qt::MoveAction)) {
        return Qt::MoveAction;
    }
    return CanDrop(target, data, Qt::CopyAction) ? Qt::CopyAction : Qt::IgnoreAction;
}

std::unique_ptr<QMimeData> ContentDrop::Copy(const QMimeData& data) {
    auto copy = std::make_unique<QMimeData>();
    if (ContentMimeSource::CanDecode(data)) {
        for (const QString& format : {ContentMimeSource::MimeFormat(), QString(KindFormat())}) {
            if (data.hasFormat(format)) {
                copy->setData(format, data.data(format));
            }
        }
    } else {
        copy->setUrls(data.urls());
    }
    return copy;
}

bool ContentDrop::DropLater(QWidget* parent, ContentFolder* target, const QMimeData* data,
                            Qt::DropAction action) {
    if (!CanDrop(target, data, action)) {
        return false;
    }
    std::shared_ptr<QMimeData> copy = Copy(*data);
    QTimer::singleShot(0, [parent = QPointer<QWidget>(parent),
                           target = QPointer<ContentFolder>(target), copy, action] {
        if (target) {
            Drop(parent, target, copy.get(), action);
        }
    });
    return true;
}

bool ContentDrop::Drop(QWidget* parent, ContentFolder* target, const QMimeData* data,
                       Qt::DropAction action) {
    if (!CanDrop(target, data, action)) {
        return false;
    }
    if (!ContentMimeSource::CanDecode(*data)) {
        return DropFiles(parent, target, LocalFiles(*data));
    }
    const QList<ContentBase*> items = Contents(*data);
    if (action == Qt::MoveAction) {
        return RunContentOperation(parent, std::make_unique<ContentMoveOperation>(items, target));
    }
    return RunContentOperation(parent, std::make_unique<ContentCopyOperation>(items, target));
}
