#include "content/operations/ContentOperation.h"

#include "content/ContentBase.h"
#include "content/ContentModelMutex.h"

QString ContentOperation::ItemsText(const QList<ContentBase*>& items) {
    const ContentModelLock lock;
    if (items.size() == 1) {
        return items.first()->Name();
    }
    return QStringLiteral("%1 files").arg(items.size());
}
