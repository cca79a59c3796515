#pragma once

#include "ui/actions/SelfExecutingAction.h"

#include <QList>
#include <QPointer>

class ContentBase;
class QWidget;

// A content action on a list of objects (one for the actions on a single item). The objects
// are not owned; one that goes meanwhile is left out. Dialogs open on the parent widget.
class ContentBaseAction : public SelfExecutingAction {
    Q_OBJECT

public:
    ContentBaseAction(const QString& caption, const QList<ContentBase*>& objects, QWidget* parent);

    // Whether the object may be changed where it is: not read-only, in a folder whose
    // children are not read-only.
    static bool Qualifies(const ContentBase* object);

    QList<ContentBase*> Objects() const;
    QWidget* ParentWidget() const { return m_parent; }

protected:
    bool AnyQualifies() const;
    // The one object of a single-item action while it qualifies, else null.
    ContentBase* QualifyingItem() const;

private:
    QList<QPointer<ContentBase>> m_objects;
    QPointer<QWidget> m_parent;
};
