#pragma once

#include <QTabWidget>

class ContentFolder;
class ContentFolderList;
class ContentFolderModel;
class ContentFolderPreview;
class QItemSelectionModel;

// The view of a content folder: the pages "List" and "Preview" over one model and one
// selection. Opening a sub-folder on either page shows it here.
class ContentFolderView : public QTabWidget {
    Q_OBJECT

public:
    explicit ContentFolderView(QWidget* parent = nullptr);

    ContentFolderModel* Model() const { return m_model; }
    QItemSelectionModel* Selection() const { return m_selection; }
    ContentFolderList* List() const { return m_list; }
    ContentFolderPreview* Preview() const { return m_preview; }

public Q_SLOTS:
    void SetFolder(ContentFolder* folder);

private:
    ContentFolderModel* m_model;  // children of this view
    QItemSelectionModel* m_selection;
    ContentFolderList* m_list;
    ContentFolderPreview* m_preview;
};
