#pragma once

#include "content/ledimage/LEDImageRender.h"

#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QThreadPool>

#include <memory>
#include <vector>

class Content;

// The frames of an LED image as the preview needs them, copied out of the image on the
// window thread so that they can be drawn on another.
struct PreviewSource {
    int family = 0;
    LEDPalette palette{};
    quint8 transparent = 0;
    std::vector<std::vector<quint8>> leds;  // one entry per LED, per frame
    std::vector<quint8> frameTransparent;
    std::vector<int> delays;  // milliseconds

    // The frames of an LED image of either family; null for anything else.
    static std::shared_ptr<const PreviewSource> Of(const Content& item);
};

// Draws the frames of LED images for the preview on worker threads and keeps them by content
// key, so that a folder opens without waiting for its pictures and an image shown again (in
// another folder, or after scrolling) is not drawn twice. Pictures arrive on the window
// thread with Rendered.
class PreviewRenderer : public QObject {
    Q_OBJECT

public:
    // The edge of the pictures.
    static constexpr int kSize = 96;
    // What the kept pictures may take, in bytes; the least recently used go first.
    static constexpr qint64 kCacheBytes = 192LL * 1024 * 1024;

    explicit PreviewRenderer(QObject* parent = nullptr);
    // Waits for the pictures being drawn (each takes a few milliseconds).
    ~PreviewRenderer() override;

    // The key the pictures of an item are kept under: its content key with its family.
    static quint64 KeyOf(const Content& item, const PreviewSource& source);

    // Frame `frame` of the image of `key`, or null when it is not drawn yet.
    const QImage* Frame(quint64 key, int frame);
    // Starts drawing the image unless it is kept or being drawn.
    void Request(quint64 key, std::shared_ptr<const PreviewSource> source);
    // Forgets the pictures of `key` (the image changed).
    void Forget(quint64 key);
    // How many images are being drawn.
    int Pending() const { return int(m_pending.size()); }

signals:
    void Rendered(quint64 key);

private:
    using Frames = std::vector<QImage>;

    void Store(quint64 key, quint64 ticket, std::shared_ptr<Frames> frames);

    QCache<quint64, std::shared_ptr<Frames>> m_cache;
    QHash<quint64, quint64> m_pending;  // key: the ticket of the drawing under way
    quint64 m_tickets = 0;
    QThreadPool m_pool;
};
