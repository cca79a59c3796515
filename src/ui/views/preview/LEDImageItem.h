#pragma once

#include "ui/views/preview/PreviewItem.h"
#include "ui/views/preview/PreviewRenderer.h"

#include <QPointer>

class Content;
class QTimer;

// An LED image: its frames as the renderer draws them, a multi-frame image animating at its
// frames' own delays. The picture is reloaded when the image changes.
class LEDImageItem : public PreviewItem {
    Q_OBJECT

public:
    // Frames are shown at least this long, so that a folder of fast images stays light.
    static constexpr int kMinDelayMs = 40;

    LEDImageItem(Content* image, PreviewRenderer* renderer);

    int FrameCount() const;
    int CurrentFrame() const { return m_frame; }
    bool IsReady() const override;

public Q_SLOTS:
    void NextFrameCycle();
    void ReloadContent();
    void OnRendered(quint64 key);

protected:
    void PaintPicture(QPainter* painter, const QRectF& area) override;

private:
    void StartTimer();

    QPointer<Content> m_image;
    PreviewRenderer* m_renderer;  // the preview's, outlives the item
    std::shared_ptr<const PreviewSource> m_source;
    quint64 m_key = 0;
    int m_frame = 0;
    QTimer* m_timer;  // child of this item
};

// An image of the first family.
class MarqaImageItem : public LEDImageItem {
    Q_OBJECT

public:
    using LEDImageItem::LEDImageItem;
};

// An image of the second family.
class SolviImageItem : public LEDImageItem {
    Q_OBJECT

public:
    using LEDImageItem::LEDImageItem;
};
