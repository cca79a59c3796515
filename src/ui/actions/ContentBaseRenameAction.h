#pragma once

#include "ui/actions/ContentBaseAction.h"

// "Rename": asks for a new name and renames the item through its folder at once.
class ContentBaseRenameAction : public ContentBaseAction {
    Q_OBJECT

public:
    ContentBaseRenameAction(ContentBase* item, QWidget* parent);

public Q_SLOTS:
    void execute() override;
};
