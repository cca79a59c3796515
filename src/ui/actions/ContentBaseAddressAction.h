#pragma once

#include "content/operations/ContentAddressOperation.h"
#include "ui/actions/ContentBaseAction.h"

// Runs the address operation on the items under the operation dialog: "Autoset DMX" and
// "Reset DMX" (the subclasses), "... All DMX" for a whole folder.
class ContentBaseAddressAction : public ContentBaseAction {
    Q_OBJECT

public:
    void execute() override;

protected:
    ContentBaseAddressAction(const QString& caption, const QList<ContentBase*>& items,
                             ContentAddressOperation::Mode mode, QWidget* parent);

private:
    ContentAddressOperation::Mode m_mode;
};

// Moves items below their folder's range or beyond its next free address to that address.
class ContentBaseAutosetAction : public ContentBaseAddressAction {
    Q_OBJECT

public:
    // `all`: the items are a whole folder's ("Autoset All DMX").
    ContentBaseAutosetAction(const QList<ContentBase*>& items, bool all, QWidget* parent);
};

// Puts every addressed item at 0.
class ContentBaseResetAction : public ContentBaseAddressAction {
    Q_OBJECT

public:
    ContentBaseResetAction(const QList<ContentBase*>& items, bool all, QWidget* parent);
};
