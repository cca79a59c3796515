#include "ui/views/preview/LEDImageItem.h"

#include "content/Content.h"
#include "os/Trap.h"

#include <QPainter>
#include <QTimer>

LEDImageItem::LEDImageItem(Content* image, PreviewRenderer* renderer)
    : PreviewItem(image), m_image(image), m_renderer(renderer), m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    bool didConnectSucceed =
        bool(connect(m_timer, &QTimer::timeout, this, &LEDImageItem::NextFrameCycle));
    OS_TRAP_IF(!didConnectSucceed);
    didConnectSucceed =
        bool(connect(image, &Content::ContentChanged, this, &LEDImageItem::ReloadContent));
    OS_TRAP_IF(!didConnectSucceed);
    didConnectSucceed =
        bool(connect(renderer, &PreviewRenderer::Rendered, this, &LEDImageItem::OnRendered));
    OS_TRAP_IF(!didConnectSucceed);
    ReloadContent();
}

int LEDImageItem::FrameCount() const {
    return m_source ? int(m_source->leds.size()) : 0;
}

bool LEDImageItem::IsReady() const {
    return FrameCount() == 0 || m_renderer->Frame(m_key, m_frame) != nullptr;
}

void LEDImageItem::ReloadContent() {
    if (!m_image) {
        return;
    }
    if (m_source) {
        m_renderer->Forget(m_key);
    }
    m_source = PreviewSource::Of(*m_image);
    m_key = m_source ? PreviewRenderer::KeyOf(*m_image, *m_source) : 0;
    m_frame = 0;
    StartTimer();
    update();
}

void LEDImageItem::StartTimer() {
    if (FrameCount() < 2) {
        m_timer->stop();
        return;
    }
    m_timer->start(std::max(m_source->delays[size_t(m_frame)], kMinDelayMs));
}

void LEDImageItem::NextFrameCycle() {
    if (FrameCount() == 0) {
        return;
    }
    m_frame = (m_frame + 1) % FrameCount();
    StartTimer();
    update();
}

void LEDImageItem::OnRendered(quint64 key) {
    if (key == m_key) {
        update();
    }
}

void LEDImageItem::PaintPicture(QPainter* painter, const QRectF& area) {
    if (FrameCount() == 0) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(70, 70, 70));
        painter->drawEllipse(area.adjusted(6, 6, -6, -6));
        return;
    }
    if (const QImage* frame = m_renderer->Frame(m_key, m_frame)) {
        painter->drawImage(area, *frame);
        return;
    }
    // Only what is painted is drawn: the pictures of a page are asked for as it shows.
    m_renderer->Request(m_key, m_source);
    painter->setPen(QColor(90, 90, 90));
    painter->setBrush(Qt::NoBrush);
    painter->drawEllipse(area.adjusted(6, 6, -6, -6));
}
