#include "ui/views/ContentFolderPreview.h"

#include "content/ContentFolder.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "os/Trap.h"
#include "ui/actions/ContentActionMenu.h"
#include "ui/actions/ContentDrop.h"
#include "ui/views/ContentFolderModel.h"
#include "ui/views/preview/LEDImageItem.h"
#include "ui/views/preview/PreviewItem.h"
#include "ui/views/preview/PreviewRenderer.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QGraphicsScene>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QScrollBar>

namespace {

// The item that shows a child: a table of the kinds the preview can draw.
PreviewItem* NewItem(ContentBase* object, PreviewRenderer* renderer) {
    if (qobject_cast<ContentFolder*>(object)) {
        return new FolderItem(object);
    }
    if (auto* marqa = qobject_cast<MarqaImage*>(object)) {
        return new MarqaImageItem(marqa, renderer);
    }
    if (auto* solvi = qobject_cast<SolviImage*>(object)) {
        return new SolviImageItem(solvi, renderer);
    }
    return new UnknownItem(object);
}

}  // namespace

ContentFolderPreview::ContentFolderPreview(QWidget* parent)
    : QGraphicsView(parent),
      m_renderer(new PreviewRenderer(this)),
      m_scene(new QGraphicsScene(this)) {
    setScene(m_scene);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAcceptDrops(true);
    setViewportUpdateMode(QGraphicsView::SmartViewportUpdate);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The items do not move: the scene's index only costs time as frames change.
    m_scene->setItemIndexMethod(QGraphicsScene::NoIndex);
}

ContentFolderPreview::~ContentFolderPreview() {
    // The items go before the renderer they draw with.
    m_scene->clear();
    m_items.clear();
}

void ContentFolderPreview::SetModel(ContentFolderModel* model, QItemSelectionModel* selection) {
    m_model = model;
    m_selection = selection;
    bool ok = bool(
        connect(model, &QAbstractItemModel::modelReset, this, &ContentFolderPreview::ResetView));
    ok = ok && bool(connect(model, &QAbstractItemModel::layoutChanged, this,
                            &ContentFolderPreview::ResetView));
    ok = ok && bool(connect(model, &QAbstractItemModel::rowsInserted, this,
                            &ContentFolderPreview::ResetView));
    ok = ok && bool(connect(model, &QAbstractItemModel::rowsRemoved, this,
                            &ContentFolderPreview::ResetView));
    ok = ok && bool(connect(model, &QAbstractItemModel::dataChanged, this,
                            &ContentFolderPreview::UpdateGreyouts));
    ok = ok && bool(connect(selection, &QItemSelectionModel::selectionChanged, this,
                            &ContentFolderPreview::UpdateSelection));
    OS_TRAP_IF(!ok);
    ResetView();
}

void ContentFolderPreview::ResetView() {
    m_scene->clear();
    m_items.clear();
    if (!m_model) {
        return;
    }
    for (int row = 0; row < m_model->rowCount(); ++row) {
        ContentBase* object = m_model->ObjectAt(row);
        PreviewItem* item = object ? NewItem(object, m_renderer) : new UnknownItem(nullptr);
        m_scene->addItem(item);
        m_items.push_back(item);
    }
    m_columns = 0;
    Layout();
    UpdateGreyouts();
    UpdateSelection();
}

void ContentFolderPreview::Layout() {
    const int columns = std::max(1, viewport()->width() / PreviewItem::kCellWidth);
    if (columns == m_columns) {
        return;
    }
    m_columns = columns;
    for (size_t i = 0; i < m_items.size(); ++i) {
        m_items[i]->setPos(double(int(i) % columns * PreviewItem::kCellWidth),
                           double(int(i) / columns * PreviewItem::kCellHeight));
    }
    const int rows = (int(m_items.size()) + columns - 1) / columns;
    m_scene->setSceneRect(0, 0, columns * PreviewItem::kCellWidth,
                          std::max(rows, 1) * PreviewItem::kCellHeight);
}

void ContentFolderPreview::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    Layout();
}

bool ContentFolderPreview::VisibleItemsReady() const {
    const QRectF shown = mapToScene(viewport()->rect()).boundingRect();
    return std::all_of(m_items.begin(), m_items.end(), [&shown](const PreviewItem* item) {
        return !item->sceneBoundingRect().intersects(shown) || item->IsReady();
    });
}

void ContentFolderPreview::UpdateGreyouts() {
    for (size_t row = 0; row < m_items.size() && m_model; ++row) {
        m_items[row]->SetGreyed(
            m_model->index(int(row), 0).data(ContentFolderModel::GreyedRole).toBool());
    }
}

void ContentFolderPreview::UpdateSelection() {
    for (size_t row = 0; row < m_items.size() && m_model && m_selection; ++row) {
        m_items[row]->SetSelected(m_selection->isRowSelected(int(row)));
    }
}

QList<ContentBase*> ContentFolderPreview::SelectedObjects() const {
    QList<ContentBase*> objects;
    for (size_t row = 0; row < m_items.size() && m_selection; ++row) {
        if (m_selection->isRowSelected(int(row)) && m_items[row]->Object()) {
            objects.append(m_items[row]->Object());
        }
    }
    return objects;
}

int ContentFolderPreview::RowAt(const QPoint& position) const {
    for (size_t row = 0; row < m_items.size(); ++row) {
        if (m_items[row]->sceneBoundingRect().contains(mapToScene(position))) {
            return int(row);
        }
    }
    return -1;
}

void ContentFolderPreview::mousePressEvent(QMouseEvent* event) {
    m_pressPosition = event->position().toPoint();
    m_pressRow = RowAt(m_pressPosition);
    if (!m_selection || !m_model) {
        return;
    }
    const bool toggle = event->modifiers() & Qt::ControlModifier;
    if (m_pressRow < 0) {
        if (!toggle) {
            m_selection->clearSelection();
        }
        return;
    }
    const QModelIndex index = m_model->index(m_pressRow, 0);
    if (toggle) {
        m_selection->select(index, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
    } else if (!m_selection->isRowSelected(m_pressRow) || event->button() == Qt::LeftButton) {
        // A right click on a selected item keeps the selection for its menu.
        if (!(event->button() == Qt::RightButton && m_selection->isRowSelected(m_pressRow))) {
            m_selection->select(index,
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
    }
    m_selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void ContentFolderPreview::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || m_pressRow < 0 || !m_model ||
        (event->position().toPoint() - m_pressPosition).manhattanLength() <
            QApplication::startDragDistance()) {
        return;
    }
    QModelIndexList rows;
    for (size_t row = 0; row < m_items.size(); ++row) {
        if (m_selection->isRowSelected(int(row))) {
            rows.append(m_model->index(int(row), 0));
        }
    }
    m_pressRow = -1;
    if (QMimeData* data = m_model->mimeData(rows)) {
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    }
}

void ContentFolderPreview::mouseDoubleClickEvent(QMouseEvent* event) {
    Activate(RowAt(event->position().toPoint()));
}

void ContentFolderPreview::Activate(int row) {
    if (row < 0 || !m_model) {
        return;
    }
    if (ContentFolder* folder = ContentActionMenu::Open(m_model->ObjectAt(row), this)) {
        emit navigateTo(folder);
    }
}

void ContentFolderPreview::keyPressEvent(QKeyEvent* event) {
    if (!m_model ||
        !ContentActionMenu::HandleKey(event, m_model->Folder(), SelectedObjects(), this)) {
        QGraphicsView::keyPressEvent(event);
    }
}

void ContentFolderPreview::contextMenuEvent(QContextMenuEvent* event) {
    if (!m_model) {
        return;
    }
    const int row = RowAt(event->pos());
    ContentActionMenu::Popup(m_model->Folder(), SelectedObjects(),
                             row >= 0 ? m_model->ObjectAt(row) : nullptr, this, event->globalPos());
}

Qt::DropAction ContentFolderPreview::DropActionAt(QDropEvent* event, ContentFolder** target) const {
    if (!m_model) {
        return Qt::IgnoreAction;
    }
    const int row = RowAt(event->position().toPoint());
    *target = m_model->DropFolder(row >= 0 ? m_model->index(row, 0) : QModelIndex());
    const Qt::DropActions actions = ContentDrop::Actions(*target, event->mimeData());
    if (actions & event->proposedAction()) {
        return event->proposedAction();
    }
    for (Qt::DropAction action : {Qt::CopyAction, Qt::MoveAction}) {
        if ((actions & action) && (event->possibleActions() & action)) {
            return action;
        }
    }
    return Qt::IgnoreAction;
}

void ContentFolderPreview::dragEnterEvent(QDragEnterEvent* event) {
    event->accept();
    if (m_model) {
        m_model->SetDragData(event->mimeData());
    }
}

void ContentFolderPreview::dragMoveEvent(QDragMoveEvent* event) {
    ContentFolder* target = nullptr;
    const Qt::DropAction action = DropActionAt(event, &target);
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}

void ContentFolderPreview::dragLeaveEvent(QDragLeaveEvent* event) {
    QGraphicsView::dragLeaveEvent(event);
    EndDrag();
}

void ContentFolderPreview::dropEvent(QDropEvent* event) {
    ContentFolder* target = nullptr;
    const Qt::DropAction action = DropActionAt(event, &target);
    EndDrag();
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
    ContentDrop::DropLater(this, target, event->mimeData(), action);
}

void ContentFolderPreview::EndDrag() {
    if (m_model) {
        m_model->SetDragData(nullptr);
    }
}
