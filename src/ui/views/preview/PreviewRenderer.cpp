#include "ui/views/preview/PreviewRenderer.h"

#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

#include <QThread>

namespace {

template <class Image>
std::shared_ptr<PreviewSource> SourceOf(const Image& image, int family) {
    auto source = std::make_shared<PreviewSource>();
    source->family = family;
    source->palette = image.Palette();
    source->transparent = image.TransparentIndex();
    for (const typename Image::Frame& frame : image.Frames()) {
        source->leds.emplace_back(frame.leds.begin(), frame.leds.end());
        source->frameTransparent.push_back(frame.transparent);
        source->delays.push_back(frame.delay);
    }
    return source;
}

std::vector<QImage> Draw(const PreviewSource& source, int size) {
    const LEDImageRender& render = LEDImageRender::ForFamily(source.family);
    std::vector<QImage> frames;
    frames.reserve(source.leds.size());
    for (size_t i = 0; i < source.leds.size(); ++i) {
        const quint8 transparent =
            source.frameTransparent[i] != 0 ? source.frameTransparent[i] : source.transparent;
        frames.push_back(
            render.RenderPreview(source.leds[i].data(), source.palette, transparent, size)
                .convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    return frames;
}

}  // namespace

std::shared_ptr<const PreviewSource> PreviewSource::Of(const Content& item) {
    if (const auto* marqa = qobject_cast<const MarqaImage*>(&item)) {
        return SourceOf(*marqa, 0);
    }
    if (const auto* solvi = qobject_cast<const SolviImage*>(&item)) {
        return SourceOf(*solvi, 1);
    }
    return nullptr;
}

PreviewRenderer::PreviewRenderer(QObject* parent) : QObject(parent) {
    m_cache.setMaxCost(kCacheBytes);
    // One worker is left to the window's own thread where the machine has few.
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
}

PreviewRenderer::~PreviewRenderer() {
    m_pool.clear();
    m_pool.waitForDone();
}

quint64 PreviewRenderer::KeyOf(const Content& item, const PreviewSource& source) {
    return (quint64(source.family) << 32) | item.DataKey();
}

const QImage* PreviewRenderer::Frame(quint64 key, int frame) {
    std::shared_ptr<Frames>* frames = m_cache.object(key);
    if (!frames || frame < 0 || frame >= int((*frames)->size())) {
        return nullptr;
    }
    return &(**frames)[size_t(frame)];
}

void PreviewRenderer::Request(quint64 key, std::shared_ptr<const PreviewSource> source) {
    if (!source || source->leds.empty() || m_pending.contains(key) || m_cache.contains(key)) {
        return;
    }
    const quint64 ticket = ++m_tickets;
    m_pending.insert(key, ticket);
    m_pool.start([this, key, ticket, source = std::move(source)] {
        auto frames = std::make_shared<Frames>(Draw(*source, kSize));
        // Back on the window thread; the pool is drained before this object goes.
        QMetaObject::invokeMethod(
            this, [this, key, ticket, frames] { Store(key, ticket, frames); },
            Qt::QueuedConnection);
    });
}

void PreviewRenderer::Store(quint64 key, quint64 ticket, std::shared_ptr<Frames> frames) {
    if (m_pending.value(key) != ticket) {
        return;  // forgotten meanwhile
    }
    m_pending.remove(key);
    qint64 bytes = 0;
    for (const QImage& frame : *frames) {
        bytes += frame.sizeInBytes();
    }
    m_cache.insert(key, new std::shared_ptr<Frames>(std::move(frames)),
                   qsizetype(std::min<qint64>(bytes, kCacheBytes)));
    emit Rendered(key);
}

void PreviewRenderer::Forget(quint64 key) {
    m_cache.remove(key);
    m_pending.remove(key);
}
