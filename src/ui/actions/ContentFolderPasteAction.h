#pragma once

#include "ui/actions/ContentFolderAction.h"

// "Paste": drops what the clipboard holds on the folder by the content drop rules; content
// that was cut leaves the clipboard once it has been moved.
class ContentFolderPasteAction : public ContentFolderAction {
    Q_OBJECT

public:
    ContentFolderPasteAction(ContentFolder* folder, QWidget* parent);

public Q_SLOTS:
    void execute() override;
};
