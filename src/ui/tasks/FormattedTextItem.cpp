#include "ui/tasks/FormattedTextItem.h"

#include <QFontMetricsF>

FormattedTextItem::FormattedTextItem(bool bold, qreal width, QGraphicsItem* parent)
    : QGraphicsSimpleTextItem(parent), m_width(width) {
    QFont font("Helvetica", 8);
    font.setBold(bold);
    setFont(font);
}

void FormattedTextItem::SetFullText(const QString& text) {
    m_text = text;
    QString line = text.simplified();
    setText(QFontMetricsF(font()).elidedText(line, Qt::ElideRight, m_width));
}
