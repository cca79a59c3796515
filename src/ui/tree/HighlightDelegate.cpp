#include "ui/tree/HighlightDelegate.h"

void HighlightDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    if (m_dropIndex.isValid() && index == m_dropIndex) {
        QStyleOptionViewItem highlighted(option);
        highlighted.state |= QStyle::State_Selected | QStyle::State_Active;
        QStyledItemDelegate::paint(painter, highlighted, index);
        return;
    }
    QStyledItemDelegate::paint(painter, option, index);
}
