#include "ui/tasks/ProgressDialItem.h"

#include <QPainter>

#include <algorithm>

ProgressDialItem::ProgressDialItem(qreal diameter, QGraphicsItem* parent)
    : QGraphicsItem(parent), m_diameter(diameter) {}

void ProgressDialItem::SetMode(int mode) {
    m_mode = std::clamp(mode, 0, 2);
    update();
}

void ProgressDialItem::SetProgress(int goal, int current, bool running, bool finished) {
    m_goal = goal;
    m_current = current;
    m_running = running;
    m_finished = finished;
    update();
}

QString ProgressDialItem::Label() const {
    if (!m_running || m_finished || m_goal <= 0) {
        return {};
    }
    return QStringLiteral("%1%").arg(qint64(std::clamp(m_current, 0, m_goal)) * 100 / m_goal);
}

QRectF ProgressDialItem::boundingRect() const {
    return {0, 0, m_diameter, m_diameter};
}

void ProgressDialItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    static const QColor kColours[] = {QColor(40, 140, 70), QColor(210, 160, 20),
                                      QColor(200, 40, 40)};
    const QRectF ring = boundingRect().adjusted(2, 2, -2, -2);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(QColor(200, 200, 200), 3));
    painter->drawEllipse(ring);

    int span = 0;  // sixteenths of a degree
    if (m_finished) {
        span = 360 * 16;
    } else if (m_goal > 0) {
        span = int(360.0 * 16 * std::clamp(m_current, 0, m_goal) / m_goal);
    } else if (m_running) {
        span = 90 * 16;
    }
    if (span > 0) {
        painter->setPen(QPen(kColours[m_mode], 3, Qt::SolidLine, Qt::FlatCap));
        painter->drawArc(ring, 90 * 16, -span);
    }
    if (const QString label = Label(); !label.isEmpty()) {
        QFont font(QStringLiteral("Helvetica"));
        font.setPointSizeF(6.5);
        painter->setFont(font);
        painter->setPen(QColor(60, 60, 60));
        painter->drawText(ring, Qt::AlignCenter, label);
    }
    if (m_mode == 2 && m_finished) {
        painter->setPen(QPen(kColours[2], 2));
        const QPointF c = ring.center();
        const qreal d = ring.width() / 5;
        painter->drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
        painter->drawLine(c + QPointF(-d, d), c + QPointF(d, -d));
    }
}
