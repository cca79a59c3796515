#include "ui/actions/ContentBaseCopyAction.h"

#include "content/ContentFolder.h"
#include "content/ContentMimeSource.h"
#include "content/ContentModelMutex.h"
#include "ui/actions/ContentDrop.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

ContentBaseCopyAction::ContentBaseCopyAction(const QString& caption,
                                             const QList<ContentBase*>& items, int kind,
                                             QWidget* parent)
    : ContentBaseAction(caption, items, parent), m_kind(kind) {}

ContentBaseCopyAction::ContentBaseCopyAction(const QList<ContentBase*>& items, QWidget* parent)
    : ContentBaseCopyAction("Copy", items, ContentDrop::kCopied, parent) {
    const ContentModelLock lock;
    const QList<ContentBase*> objects = Objects();
    setEnabled(!objects.isEmpty() &&
               std::all_of(objects.begin(), objects.end(), [](const ContentBase* item) {
                   return item->Parent() && !item->Parent()->ViewOnly();
               }));
}

void ContentBaseCopyAction::PutOnClipboard(const QList<ContentBase*>& objects, int kind) {
    std::unique_ptr<QMimeData> data = ContentMimeSource::MimeData(objects);
    data->setData(ContentDrop::KindFormat(), QByteArray::number(kind));
    QApplication::clipboard()->setMimeData(data.release());
}

void ContentBaseCopyAction::execute() {
    if (isEnabled()) {
        PutOnClipboard(Objects(), m_kind);
    }
}

ContentBaseCutAction::ContentBaseCutAction(const QList<ContentBase*>& items, QWidget* parent)
    : ContentBaseCopyAction("Cut", items, ContentDrop::kCut, parent) {
    setEnabled(AnyQualifies());
}
