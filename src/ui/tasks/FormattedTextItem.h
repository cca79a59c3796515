#pragma once

#include <QGraphicsSimpleTextItem>

// A line of text in the task strip: "Helvetica" 8 points, elided to a width.
class FormattedTextItem : public QGraphicsSimpleTextItem {
public:
    FormattedTextItem(bool bold, qreal width, QGraphicsItem* parent = nullptr);

    void SetFullText(const QString& text);
    QString FullText() const { return m_text; }

private:
    qreal m_width;
    QString m_text;
};
