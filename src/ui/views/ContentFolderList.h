#pragma once

#include <QTreeView>

class ContentBase;
class ContentFolder;
class ContentFolderModel;

// The "List" page: one row per child of the shown folder. Activating a row opens a sub-folder
// (navigateTo) or views an item; keys and the context menu run the content actions; drags
// and drops follow the content drop rules.
class ContentFolderList : public QTreeView {
    Q_OBJECT

public:
    explicit ContentFolderList(QWidget* parent = nullptr);

    ContentFolderModel* FolderModel() const;
    // The selected rows' objects, in row order.
    QList<ContentBase*> SelectedObjects() const;

signals:
    void navigateTo(ContentFolder* folder);

public Q_SLOTS:
    void ActivateItem(const QModelIndex& index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};
