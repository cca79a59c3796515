#include "ui/actions/ContentBaseAction.h"

#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"

#include <QWidget>

#include <algorithm>

ContentBaseAction::ContentBaseAction(const QString& caption, const QList<ContentBase*>& objects,
                                     QWidget* parent)
    : SelfExecutingAction(caption, parent), m_parent(parent) {
    for (ContentBase* object : objects) {
        m_objects.append(object);
    }
}

bool ContentBaseAction::Qualifies(const ContentBase* object) {
    if (!object) {
        return false;
    }
    const ContentModelLock lock;
    const ContentFolder* parent = object->Parent();
    return !object->IsReadOnly() && parent && !parent->ChildrenReadOnly();
}

QList<ContentBase*> ContentBaseAction::Objects() const {
    QList<ContentBase*> objects;
    for (const QPointer<ContentBase>& object : m_objects) {
        if (object) {
            objects.append(object);
        }
    }
    return objects;
}

ContentBase* ContentBaseAction::QualifyingItem() const {
    const QList<ContentBase*> objects = Objects();
    return !objects.isEmpty() && Qualifies(objects.first()) ? objects.first() : nullptr;
}

bool ContentBaseAction::AnyQualifies() const {
    const QList<ContentBase*> objects = Objects();
    return std::any_of(objects.begin(), objects.end(), &ContentBaseAction::Qualifies);
}
