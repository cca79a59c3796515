#pragma once

#include "ui/actions/ContentBaseAction.h"

// "Delete": asks, then deletes the items (folders with all they hold) under the operation
// dialog.
class ContentBaseRemoveAction : public ContentBaseAction {
    Q_OBJECT

public:
    ContentBaseRemoveAction(const QList<ContentBase*>& items, QWidget* parent);

public Q_SLOTS:
    void execute() override;
};
