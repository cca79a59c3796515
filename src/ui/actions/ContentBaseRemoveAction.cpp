#include "ui/actions/ContentBaseRemoveAction.h"

#include "content/operations/ContentDeleteOperation.h"
#include "ui/actions/RunContentOperation.h"

#include <QMessageBox>

ContentBaseRemoveAction::ContentBaseRemoveAction(const QList<ContentBase*>& items, QWidget* parent)
    : ContentBaseAction("Delete", items, parent) {
    setEnabled(AnyQualifies());
}

void ContentBaseRemoveAction::execute() {
    const QList<ContentBase*> items = Objects();
    if (!isEnabled() || items.isEmpty()) {
        return;
    }
    const bool one = items.size() == 1;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        ParentWidget(), one ? "Delete Item" : "Delete Items",
        one ? "Are you sure you want to delete this item and ALL items it contains?"
            : "Are you sure you want to delete these items and ALL items they contain?");
    if (answer == QMessageBox::Yes) {
        RunContentOperation(ParentWidget(), std::make_unique<ContentDeleteOperation>(items));
    }
}
