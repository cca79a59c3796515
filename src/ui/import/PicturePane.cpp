#include "ui/import/PicturePane.h"

#include <QPainter>

namespace {
constexpr int kPreferredEdge = 300;
}  // namespace

PicturePane::PicturePane(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setMinimumSize(160, 160);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PicturePane::SetPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

void PicturePane::SetOutlines(std::vector<QRectF> outlines, Shape shape) {
    m_outlines = std::move(outlines);
    m_shape = shape;
    update();
}

QSize PicturePane::sizeHint() const {
    return {kPreferredEdge, kPreferredEdge};
}

QRectF PicturePane::Target() const {
    const QRectF room = contentsRect().adjusted(2, 2, -2, -2);
    if (m_picture.isNull() || room.isEmpty()) {
        return {};
    }
    const QSizeF size = QSizeF(m_picture.size()).scaled(room.size(), Qt::KeepAspectRatio);
    return {room.center().x() - size.width() / 2, room.center().y() - size.height() / 2,
            size.width(), size.height()};
}

void PicturePane::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QRectF target = Target();
    if (target.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_picture);
    if (m_outlines.empty()) {
        return;
    }
    // Outlines are mapped point by point rather than drawn through a scaled painter, so the
    // pens keep their width at any scale.
    const double scaleX = target.width() / m_picture.width();
    const double scaleY = target.height() / m_picture.height();
    painter.setClipRect(target);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const QPen halo(QColor(0, 0, 0, 140), 3.0);
    const QPen line(QColor(255, 255, 255, 220), 1.0);
    for (const QPen& pen : {halo, line}) {
        painter.setPen(pen);
        for (const QRectF& outline : m_outlines) {
            const QRectF mapped(target.left() + outline.left() * scaleX,
                                target.top() + outline.top() * scaleY, outline.width() * scaleX,
                                outline.height() * scaleY);
            if (m_shape == Shape::Ellipse) {
                painter.drawEllipse(mapped);
            } else {
                painter.drawRect(mapped);
            }
        }
    }
}
