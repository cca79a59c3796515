#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

// Paints the item under a drag as selected and active, in place of a drop indicator.
class HighlightDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void SetDropIndex(const QModelIndex& index) { m_dropIndex = index; }
    QModelIndex DropIndex() const { return m_dropIndex; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    QPersistentModelIndex m_dropIndex;
};
