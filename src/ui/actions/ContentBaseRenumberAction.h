#pragma once

#include "ui/actions/ContentBaseAction.h"

// "Edit DMX": asks for a new address and gives it to the item through its folder at once.
class ContentBaseRenumberAction : public ContentBaseAction {
    Q_OBJECT

public:
    ContentBaseRenumberAction(ContentBase* item, QWidget* parent);

public Q_SLOTS:
    void execute() override;
};
