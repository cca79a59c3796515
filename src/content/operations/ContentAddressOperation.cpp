#include "content/operations/ContentAddressOperation.h"

#include "comm/IFeedback.h"
#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "content/operations/ContentSteps.h"

ContentAddressOperation::ContentAddressOperation(const QList<ContentBase*>& items, Mode mode,
                                                 int address)
    : ContentItemsOperation(items), m_mode(mode), m_address(address) {}

QString ContentAddressOperation::Title() const {
    return QStringLiteral("Addressing %1").arg(ItemsText());
}

bool ContentAddressOperation::CanExecute() const {
    const ContentModelLock lock;
    for (const ContentBase* item : Items()) {
        const ContentFolder* parent = item->Parent();
        if (!item->IsReadOnly() && parent && !parent->ChildrenReadOnly() &&
            (m_mode != Reset || item->Address() > 0)) {
            return true;
        }
    }
    return false;
}

int ContentAddressOperation::NewAddress(const ContentBase* item) const {
    const ContentModelLock lock;
    if (m_mode == Reset) {
        return item->Address() >= 1 ? 0 : -1;
    }
    if (m_mode == Set) {
        return item->Address() != m_address ? m_address : -1;
    }
    const ContentFolder* parent = item->Parent();
    const int free = parent ? parent->NextFreeAddress(1) : -1;
    if (free == -1 || (item->Address() >= parent->MinAddress() && item->Address() <= free)) {
        return -1;
    }
    return free;
}

int ContentAddressOperation::Execute(IFeedback* feedback, int /*options*/) {
    feedback->SetTotal(ItemCount());
    return ForEachItem(feedback, false, [&](int index, ContentBase* item) {
        const int address = NewAddress(item);
        const int result =
            address < 0 ? int(Succeeded)
                        : ContentSteps::Renumber(feedback, item, address, {index, index + 1});
        feedback->SetCurrent(index + 1);
        return result;
    });
}
