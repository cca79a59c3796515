#pragma once

#include "comm/ProgressShare.h"
#include "content/Content.h"
#include "lumo/commands/LumoDeviceCommand.h"

#include <QList>

class LumoImageKind;
class LumoRDMImage;

// A command that moves image items of one family between the program and a fixture folder.
// It owns its items; whoever receives a result may take the item of that file number.
class LumoContentTransferCommand : public LumoDeviceCommand {
    Q_OBJECT
public:
    LumoContentTransferCommand(const LumoImageKind& kind, QObject* parent);

    const LumoImageKind& Kind() const { return m_kind; }
    quint16 Folder() const;
    // The item whose address is `file`, or null (taken already, or never given).
    Content* Item(quint16 file) const;
    std::unique_ptr<Content> TakeItem(quint16 file);
    int ItemCount() const;

protected:
    // The bytes of an item of the command's family as the fixture stores them; false for an
    // item of another kind, and with an error line for one no fixture can hold. An item without a
    // content key is given one made from its data first, since a fixture's file listed with key 0
    // is not shown.
    bool ToUploadRecord(Content* item, LumoRDMImage* record);

    // Call with m_mutex held.
    void SetItems(quint16 folder, ContentList items);
    // The items as they stand, for Execute (m_mutex is taken here).
    QList<Content*> ItemsSnapshot(quint16* folder) const;
    // The items of the command's family among them.
    QList<Content*> Accepted(const QList<Content*>& items) const;
    // The feedback of the transfer of file `index` (from 0) of `count`: its progress is its
    // share of the command's, and its progress texts name the file when there are more.
    ProgressShare FileProgress(int index, int count);

private:
    const LumoImageKind& m_kind;
    quint16 m_folder = 0;
    ContentList m_items;
};
