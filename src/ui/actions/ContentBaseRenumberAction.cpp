#include "ui/actions/ContentBaseRenumberAction.h"

#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "ui/AddressDialog.h"

#include <QMessageBox>

ContentBaseRenumberAction::ContentBaseRenumberAction(ContentBase* item, QWidget* parent)
    : ContentBaseAction("Edit DMX", {item}, parent) {
    setEnabled(Qualifies(item));
}

void ContentBaseRenumberAction::execute() {
    ContentBase* item = QualifyingItem();
    if (!item) {
        return;
    }
    int lowest = 0;
    int highest = 0;
    {
        const ContentModelLock lock;
        lowest = item->Parent()->MinAddress();
        highest = item->Parent()->MaxAddress();
    }
    const std::optional<int> address =
        AddressDialog::Ask("Edit DMX", "DMX:", item->Address(), lowest, highest, ParentWidget());
    if (!address) {
        return;
    }
    bool renumbered = false;
    {
        const ContentModelLock lock;
        ContentFolder* parent = item->Parent();
        renumbered = parent && parent->Rename(item, item->Name(), *address, nullptr);
    }
    if (!renumbered) {
        QMessageBox::warning(ParentWidget(), "Edit DMX Failed",
                             "The item address could not be changed");
    }
}
