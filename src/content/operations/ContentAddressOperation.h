#pragma once

#include "content/operations/ContentItemsOperation.h"

// Gives items new addresses: autoset moves each item that lies below its folder's lowest
// address or above the next free one to that free one; reset puts every addressed item at 0;
// set gives every item one address.
class ContentAddressOperation : public ContentItemsOperation {
    Q_OBJECT

public:
    enum Mode { Autoset, Reset, Set };

    // `address`: the one that Set gives.
    ContentAddressOperation(const QList<ContentBase*>& items, Mode mode, int address = 0);

    QString Title() const override;
    bool CanExecute() const override;
    int Execute(IFeedback* feedback, int options) override;

private:
    // The item's new address, or -1 when it keeps its own.
    int NewAddress(const ContentBase* item) const;

    Mode m_mode;
    int m_address;
};
