#include "ui/quorel/QuorelCanvasPainter.h"

#include "content/import/LedSampler.h"
#include "content/ledimage/LEDImageRender.h"
#include "quorel/QuorelRenderer.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <cmath>

namespace {

const QColor kOutside(58, 58, 58);
const QColor kCanvas(0, 0, 0);
const QColor kFrameLine(160, 160, 160);
const QColor kGridLine(255, 255, 255, 48);
const QColor kMaskShade(0, 0, 0, 170);
const QColor kSampleLine(0, 255, 128, 110);
const QColor kBody(24, 24, 24);
const QColor kOutline(200, 200, 200);
const QColor kUnlit(255, 255, 255, 28);
const QColor kSelected(255, 196, 0);
const QRgb kDarkLed = qRgb(40, 40, 40);

constexpr int kMinDisc = 16;
constexpr int kMaxDisc = 256;
constexpr int kDiscStep = 16;

QRectF FrameRect(const QuorelTemplate::Frame& frame) {
    return {frame[0], frame[1], frame[2], frame[3]};
}

QPen Cosmetic(const QColor& colour, qreal width = 1, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(colour, width, style);
    pen.setCosmetic(true);
    return pen;
}

}  // namespace

void QuorelCanvasPainter::Paint(QPainter& painter, const Scene& scene) {
    painter.fillRect(scene.widget, kOutside);
    if (!scene.quorel) {
        return;
    }
    PaintCanvas(painter, scene);
    if (scene.options.media) {
        PaintMedia(painter, scene);
    }
    if (scene.options.mask) {
        PaintMask(painter, scene);
    }
    if (scene.options.grid) {
        PaintGrid(painter, scene);
    }
    PaintFixtures(painter, scene);
    if (scene.options.samples) {
        PaintSamples(painter, scene);
    }
    if (!scene.rubberBand.isEmpty()) {
        painter.setPen(Cosmetic(kSelected, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(scene.toWidget.mapRect(scene.rubberBand));
    }
}

void QuorelCanvasPainter::PaintCanvas(QPainter& painter, const Scene& scene) const {
    painter.fillRect(scene.toWidget.mapRect(QRectF(0, 0, 1, 1)), kCanvas);
    painter.setPen(Cosmetic(kFrameLine, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(scene.toWidget.mapRect(FrameRect(scene.quorel->frame)));
}

void QuorelCanvasPainter::PaintMedia(QPainter& painter, const Scene& scene) {
    const QImage& media = *scene.media;
    if (media.isNull()) {
        return;
    }
    const QRectF target = scene.toWidget.mapRect(FrameRect(scene.quorel->frame));
    const QSize size = target.size().toSize();
    if (size.width() >= media.width() || size.height() >= media.height() || size.isEmpty()) {
        painter.drawImage(target, media);  // enlarged: drawn as it is
        return;
    }
    // Shrunk once per frame and size, not on every repaint.
    if (m_scaledKey != media.cacheKey() || m_scaledMedia.size() != size) {
        m_scaledMedia = media.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaledKey = media.cacheKey();
    }
    painter.drawImage(target.topLeft(), m_scaledMedia);
}

void QuorelCanvasPainter::PaintMask(QPainter& painter, const Scene& scene) const {
    QRegion shaded(scene.widget);
    for (const auto& fixture : scene.quorel->Fixtures()) {
        const QRect disc = scene.toWidget.mapRect(fixture->Rect()).toAlignedRect();
        shaded -= QRegion(disc, QRegion::Ellipse);
    }
    painter.save();
    painter.setClipRegion(shaded);
    painter.fillRect(scene.widget, kMaskShade);
    painter.restore();
}

void QuorelCanvasPainter::PaintGrid(QPainter& painter, const Scene& scene) const {
    const int lines = std::max(1, scene.options.gridScale);
    painter.setPen(Cosmetic(kGridLine));
    for (int i = 0; i <= lines; ++i) {
        const double at = double(i) / lines;
        painter.drawLine(scene.toWidget.map(QLineF(at, 0, at, 1)));
        painter.drawLine(scene.toWidget.map(QLineF(0, at, 1, at)));
    }
}

void QuorelCanvasPainter::PaintSamples(QPainter& painter, const Scene& scene) const {
    if (!scene.media || scene.media->isNull() || !scene.settings) {
        return;
    }
    painter.setPen(Cosmetic(kSampleLine));
    painter.setBrush(Qt::NoBrush);
    for (const auto& fixture : scene.quorel->Fixtures()) {
        for (const QRectF& square :
             SampleSquares(*scene.quorel, *fixture, *scene.settings, scene.media->size())) {
            painter.drawRect(scene.toWidget.mapRect(square));
        }
    }
}

std::vector<QRectF> QuorelCanvasPainter::SampleSquares(const QuorelTemplate& quorel,
                                                       const QuorelTypes::Fixture& fixture,
                                                       const QuorelSettings& settings,
                                                       QSize media) {
    const auto placement = QuorelRenderer::Place(quorel, fixture, media, settings);
    if (!placement) {
        return {};
    }
    const LedSampler sampler(LEDImageRender::ForFamily(fixture.IsMarqa() ? 0 : 1),
                             placement->area.size(), placement->settings.aspect,
                             placement->settings.sampleSize);
    // Media pixels back to canvas units: the frame is the media's rectangle on the canvas.
    const QuorelTemplate::Frame& frame = quorel.frame;
    const double unitX = frame[2] / media.width();
    const double unitY = frame[3] / media.height();
    std::vector<QRectF> squares;
    const int leds = int(sampler.LedPixels().size());
    squares.reserve(size_t(leds));
    for (int n = 0; n < leds; ++n) {
        const QRect pixels = sampler.SampleRect(n).translated(placement->area.topLeft());
        squares.emplace_back(frame[0] + pixels.x() * unitX, frame[1] + pixels.y() * unitY,
                             pixels.width() * unitX, pixels.height() * unitY);
    }
    return squares;
}

void QuorelCanvasPainter::PaintFixtures(QPainter& painter, const Scene& scene) {
    // One disc size for all fixtures, so the LED layouts are computed for few sizes.
    double largest = 0;
    for (const auto& fixture : scene.quorel->Fixtures()) {
        const QRectF onWidget = scene.toWidget.mapRect(fixture->Rect());
        largest = std::max({largest, onWidget.width(), onWidget.height()});
    }
    const int discSize =
        std::clamp(int(std::ceil(largest / kDiscStep)) * kDiscStep, kMinDisc, kMaxDisc);
    if (discSize != m_discSize) {
        m_discs.clear();
        m_discSize = discSize;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const auto& fixture : scene.quorel->Fixtures()) {
        const QRectF onWidget = scene.toWidget.mapRect(fixture->Rect());
        const auto leds =
            scene.preview ? scene.preview->find(fixture.get()) : Preview::const_iterator{};
        const bool previewed = scene.preview && leds != scene.preview->end();
        painter.setPen(Cosmetic(kOutline));
        painter.setBrush(previewed ? QBrush(kBody) : QBrush(kUnlit));
        painter.drawEllipse(onWidget);
        if (previewed) {
            painter.drawImage(onWidget, Disc(*fixture, leds->second, discSize));
        }
        if (fixture->selected) {
            painter.setPen(Cosmetic(kSelected, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(onWidget);
            painter.setPen(Cosmetic(kSelected, 1, Qt::DotLine));
            painter.drawRect(onWidget);
        }
        if (scene.options.addresses) {
            PaintAddress(painter, *fixture, onWidget);
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void QuorelCanvasPainter::PaintAddress(QPainter& painter, const QuorelTypes::Fixture& fixture,
                                       const QRectF& onWidget) const {
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(std::clamp(int(std::min(onWidget.width(), onWidget.height()) / 3), 8, 24));
    painter.setFont(font);
    const QString text = QString::number(fixture.num);
    painter.setPen(Qt::black);
    painter.drawText(onWidget.translated(1, 1), Qt::AlignCenter, text);
    painter.setPen(Qt::white);
    painter.drawText(onWidget, Qt::AlignCenter, text);
}

const QImage& QuorelCanvasPainter::Disc(const QuorelTypes::Fixture& fixture,
                                        const std::vector<QRgb>& leds, int size) {
    QImage& disc = m_discs[&fixture];
    if (!disc.isNull()) {
        return disc;
    }
    const LEDImageRender& layout = LEDImageRender::ForFamily(fixture.IsMarqa() ? 0 : 1);
    const auto map = layout.LedMap(size);
    disc = QImage(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(disc.scanLine(y));
        const qint16* row = map->data() + size_t(y) * size;
        for (int x = 0; x < size; ++x) {
            const int led = row[x];
            if (led < 0) {
                line[x] = 0;
                continue;
            }
            // An LED the preview has no colour for, or a transparent one, shows unlit.
            const QRgb colour = size_t(led) < leds.size() ? leds[size_t(led)] : 0;
            line[x] = qAlpha(colour) == 0 ? kDarkLed : (colour | 0xff000000u);
        }
    }
    return disc;
}
