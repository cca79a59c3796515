#pragma once

#include "ui/actions/ContentFolderAction.h"

// "Export": writes the folder's content into a package file chosen by the user (a content
// package, or a collage package of either family) through the copy operation.
class ContentFolderExportAction : public ContentFolderAction {
    Q_OBJECT

public:
    ContentFolderExportAction(ContentFolder* folder, QWidget* parent);

    // Writes the folder's content into the package file `file`; true when it was written.
    static bool Export(ContentFolder* folder, const QString& file, QWidget* parent);

public Q_SLOTS:
    void execute() override;
};
