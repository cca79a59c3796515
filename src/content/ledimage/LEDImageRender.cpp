#include "content/ledimage/LEDImageRender.h"

#include <cmath>
#include <numbers>

namespace {

// The unit disc plus the dots of its outer ring fit a picture when this radius maps to half
// its edge.
constexpr double kDiscExtent = 1.06;

// Maps kept for pictures of different sizes.
constexpr size_t kCachedMaps = 8;

const QRgb kPreviewBackground = qRgba(192, 192, 192, 255);

}  // namespace

LEDImageRender::LEDImageRender(std::vector<Ring> rings, double dotRadius) : m_dotRadius(dotRadius) {
    for (const Ring& ring : rings) {
        for (int k = 0; k < ring.count; ++k) {
            const double angle =
                std::numbers::pi / 2 - (k + 0.5) * 2 * std::numbers::pi / ring.count;
            m_positions.emplace_back(ring.radius * std::cos(angle), ring.radius * std::sin(angle));
        }
    }
}

const LEDImageRender& LEDImageRender::ForFamily(int familyIndex) {
    static const LEDImageRender marqa({{36, 0.9583333333333334},
                                       {30, 0.7916666666666666},
                                       {24, 0.6416666666666667},
                                       {18, 0.475},
                                       {12, 0.31666666666666665},
                                       {6, 0.16666666666666666},
                                       {1, 0.0}},
                                      0.07);
    static const LEDImageRender solvi({{24, 0.925}, {18, 0.7}, {12, 0.4625}, {6, 0.2375}, {1, 0.0}},
                                      0.1);
    return familyIndex == 0 ? marqa : solvi;
}

QPointF LEDImageRender::LedPosition(int n) const {
    return n >= 0 && n < LedCount() ? m_positions[size_t(n)] : m_positions.back();
}

QPointF LEDImageRender::PixelPosition(int n, int size) const {
    const double half = size / 2.0;
    const double scale = half / kDiscExtent;
    const QPointF position = LedPosition(n);
    return {half + position.x() * scale, half - position.y() * scale};
}

int LEDImageRender::NearestLed(QPointF point) const {
    int nearest = 0;
    double best = INFINITY;
    for (int n = 0; n < LedCount(); ++n) {
        const QPointF d = m_positions[size_t(n)] - point;
        const double distance = QPointF::dotProduct(d, d);
        if (distance < best) {
            best = distance;
            nearest = n;
        }
    }
    return nearest;
}

std::shared_ptr<const std::vector<qint16>> LEDImageRender::LedMap(int size) const {
    const std::lock_guard<std::mutex> lock(m_mapLock);
    if (const auto found = m_maps.find(size); found != m_maps.end()) {
        return found->second;
    }
    if (m_maps.size() >= kCachedMaps) {
        m_maps.clear();
    }
    auto map = std::make_shared<std::vector<qint16>>(size_t(size) * size, qint16(-1));
    const double radius = m_dotRadius * (size / 2.0) / kDiscExtent;
    for (int n = 0; n < LedCount(); ++n) {
        const QPointF centre = PixelPosition(n, size);
        const int left = std::max(0, int(std::floor(centre.x() - radius)));
        const int right = std::min(size - 1, int(std::ceil(centre.x() + radius)));
        const int top = std::max(0, int(std::floor(centre.y() - radius)));
        const int bottom = std::min(size - 1, int(std::ceil(centre.y() + radius)));
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                const double dx = x + 0.5 - centre.x();
                const double dy = y + 0.5 - centre.y();
                if (dx * dx + dy * dy <= radius * radius) {
                    (*map)[size_t(y) * size + x] = qint16(n);
                }
            }
        }
        // However small the picture, the pixel under the LED's centre shows it.
        const int x = std::clamp(int(centre.x()), 0, size - 1);
        const int y = std::clamp(int(centre.y()), 0, size - 1);
        (*map)[size_t(y) * size + x] = qint16(n);
    }
    m_maps.emplace(size, map);
    return map;
}

QImage LEDImageRender::RenderIndexed(const quint8* leds, quint8 background,
                                     const LEDPalette& palette, int size) const {
    if (size < 1 || size > kMaxSize) {
        return {};
    }
    const std::shared_ptr<const std::vector<qint16>> map = LedMap(size);
    QImage picture(size, size, QImage::Format_Indexed8);
    picture.setColorTable(QList<QRgb>(palette.begin(), palette.end()));
    for (int y = 0; y < size; ++y) {
        uchar* line = picture.scanLine(y);
        const qint16* row = map->data() + size_t(y) * size;
        for (int x = 0; x < size; ++x) {
            line[x] = row[x] < 0 ? background : leds[row[x]];
        }
    }
    return picture;
}

QImage LEDImageRender::RenderPreview(const quint8* leds, const LEDPalette& palette,
                                     quint8 transparent, int size) const {
    if (size < 1 || size > kMaxSize) {
        return {};
    }
    const std::shared_ptr<const std::vector<qint16>> map = LedMap(size);
    QImage picture(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const qint16* row = map->data() + size_t(y) * size;
        for (int x = 0; x < size; ++x) {
            const int led = row[x];
            const bool shown = led >= 0 && (transparent == 0 || leds[led] != transparent);
            line[x] = shown ? palette[leds[led]] : kPreviewBackground;
        }
    }
    return picture;
}
