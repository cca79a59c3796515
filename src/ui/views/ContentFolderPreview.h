#pragma once

#include <QGraphicsView>
#include <QPointer>

#include <vector>

class ContentBase;
class ContentFolder;
class ContentFolderModel;
class PreviewItem;
class PreviewRenderer;
class QItemSelectionModel;

// The "Preview" page: the children of the shown folder as pictures in a grid, with names and
// addresses, over the same model and selection as the list. LED images animate; pictures are
// drawn off the window thread as they come into sight. Keys, the context menu, drags and
// drops are those of the list; items that the current drag or a paste cannot apply to are
// greyed.
class ContentFolderPreview : public QGraphicsView {
    Q_OBJECT

public:
    explicit ContentFolderPreview(QWidget* parent = nullptr);
    ~ContentFolderPreview() override;

    void SetModel(ContentFolderModel* model, QItemSelectionModel* selection);
    const std::vector<PreviewItem*>& Items() const { return m_items; }
    PreviewRenderer* Renderer() const { return m_renderer; }
    // Whether every item in sight shows its picture.
    bool VisibleItemsReady() const;
    QList<ContentBase*> SelectedObjects() const;

signals:
    void navigateTo(ContentFolder* folder);

public Q_SLOTS:
    void ResetView();
    void UpdateGreyouts();
    void UpdateSelection();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Layout();
    // The row of the item at a viewport position, or -1.
    int RowAt(const QPoint& position) const;
    void Activate(int row);
    // The action the folder under the position takes the drag with, or IgnoreAction.
    Qt::DropAction DropActionAt(QDropEvent* event, ContentFolder** target) const;
    void EndDrag();

    QPointer<ContentFolderModel> m_model;
    QPointer<QItemSelectionModel> m_selection;
    PreviewRenderer* m_renderer;  // children of this view
    QGraphicsScene* m_scene;
    std::vector<PreviewItem*> m_items;  // owned by the scene, one per row
    QPoint m_pressPosition;
    int m_pressRow = -1;
    int m_columns = 0;
};
