#include "ui/quorel/QuorelTemplateListView.h"

#include <QContextMenuEvent>
#include <QMenu>

QuorelTemplateListView::QuorelTemplateListView(QWidget* parent) : QListView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
}

std::unique_ptr<QMenu> QuorelTemplateListView::TemplateMenu(int row) {
    if (!model() || row < 0 || row >= model()->rowCount()) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>(this);
    connect(menu->addAction(tr("Rename")), &QAction::triggered, this, [this, row] {
        const QModelIndex index = model()->index(row, 0);
        setCurrentIndex(index);
        edit(index);
        emit renameRequested(row);
    });
    connect(menu->addAction(tr("Delete")), &QAction::triggered, this,
            [this, row] { emit deleteRequested(row); });
    return menu;
}

void QuorelTemplateListView::onContextMenu(QContextMenuEvent* event) {
    emit templateContextMenuEvent(event);
    const QModelIndex index = indexAt(event->pos());  // viewport coordinates
    if (std::unique_ptr<QMenu> menu = TemplateMenu(index.isValid() ? index.row() : -1)) {
        setCurrentIndex(index);
        menu->exec(event->globalPos());
    }
}

void QuorelTemplateListView::contextMenuEvent(QContextMenuEvent* event) {
    onContextMenu(event);
}
