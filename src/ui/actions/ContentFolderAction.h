#pragma once

#include "ui/actions/SelfExecutingAction.h"

#include <QPointer>

class ContentFolder;
class QWidget;

// A content action on one folder (not owned): paste, new, export, import.
class ContentFolderAction : public SelfExecutingAction {
    Q_OBJECT

public:
    ContentFolderAction(const QString& caption, ContentFolder* folder, QWidget* parent);

    ContentFolder* Folder() const { return m_folder; }
    QWidget* ParentWidget() const { return m_parent; }

private:
    QPointer<ContentFolder> m_folder;
    QPointer<QWidget> m_parent;
};
