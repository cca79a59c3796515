#include "ui/actions/ContentBaseRenameAction.h"

#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "ui/NameDialog.h"

#include <QMessageBox>

ContentBaseRenameAction::ContentBaseRenameAction(ContentBase* item, QWidget* parent)
    : ContentBaseAction("Rename", {item}, parent) {
    setEnabled(Qualifies(item));
}

void ContentBaseRenameAction::execute() {
    ContentBase* item = QualifyingItem();
    if (!item) {
        return;
    }
    const std::optional<QString> name = NameDialog::Ask("Rename", item->Name(), ParentWidget());
    if (!name) {
        return;
    }
    bool renamed = false;
    {
        const ContentModelLock lock;
        ContentFolder* parent = item->Parent();
        renamed = parent && parent->Rename(item, *name, item->Address(), nullptr);
    }
    if (!renamed) {
        QMessageBox::warning(ParentWidget(), "Rename Failed", "The item could not be renamed");
    }
}
