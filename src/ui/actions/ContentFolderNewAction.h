#pragma once

#include "ui/actions/ContentFolderAction.h"

#include <functional>

// "New %1" with the name of the kind of sub-folder: asks for a name and makes the folder at
// the first free address. In Quorel folders it opens the Quorel creator instead.
class ContentFolderNewAction : public ContentFolderAction {
    Q_OBJECT

public:
    using QuorelCreator = std::function<void(QWidget* parent)>;

    ContentFolderNewAction(ContentFolder* folder, int kind, QWidget* parent);

    // Whether new content of the folder is made by the Quorel creator.
    static bool IsQuorelFolder(const ContentFolder* folder);
    // What opens the Quorel creator (the main window sets it); none: nothing opens.
    static void SetQuorelCreator(QuorelCreator creator);

public Q_SLOTS:
    void execute() override;

private:
    QString m_typeName;
};
