#pragma once

#include "ui/actions/ContentFolderAction.h"

// "Import": copies the content of a package file chosen by the user into the folder.
class ContentFolderImportAction : public ContentFolderAction {
    Q_OBJECT

public:
    ContentFolderImportAction(ContentFolder* folder, QWidget* parent);

    // Copies the content of the package file into the folder; true when it was copied.
    static bool Import(ContentFolder* folder, const QString& file, QWidget* parent);

public Q_SLOTS:
    void execute() override;
};
