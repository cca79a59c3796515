#include "ui/actions/ContentFolderAction.h"

#include "content/ContentFolder.h"

#include <QWidget>

ContentFolderAction::ContentFolderAction(const QString& caption, ContentFolder* folder,
                                         QWidget* parent)
    : SelfExecutingAction(caption, parent), m_folder(folder), m_parent(parent) {}
