#include "content/import/LedSampler.h"

#include "content/ledimage/LEDImageRender.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Below this many pixels an ellipse would leave almost nothing: every cell counts.
constexpr int kSmallestEllipse = 4;

// The rectangle the disc is fitted into.
QRect DiscRect(QSize size, ImportSettings::Aspect aspect) {
    if (aspect == ImportSettings::Aspect::Ignore) {
        return {QPoint(0, 0), size};
    }
    const int edge = std::min(size.width(), size.height());
    return {(size.width() - edge) / 2, (size.height() - edge) / 2, edge, edge};
}

// 8-bit luminance, close to 0.299 R + 0.587 G + 0.114 B.
inline int Luma8(QRgb pixel) {
    return (77 * qRed(pixel) + 150 * qGreen(pixel) + 29 * qBlue(pixel)) >> 8;
}

}  // namespace

LedSampler::LedSampler(const LEDImageRender& layout, QSize pictureSize,
                       ImportSettings::Aspect aspect, int sampleSize)
    : m_size(pictureSize), m_aspect(aspect), m_sampleSize(std::max(1, sampleSize)) {
    // The LEDs: the disc's unit radius reaches the rectangle's half size (y turned downwards).
    const QRect rect = DiscRect(pictureSize, aspect);
    const int halfWidth = (rect.width() - 1) / 2;
    const int halfHeight = (rect.height() - 1) / 2;
    const QPoint centre(rect.left() + halfWidth, rect.top() + halfHeight);
    const double insetX = 0.0;  // the outer ring's samples may reach past the disc's edge
    const double insetY = 0.0;
    for (int n = 0; n < layout.LedCount(); ++n) {
        const QPointF position = layout.LedPosition(n);
        m_leds.emplace_back(
            int(std::floor(centre.x() + position.x() * (halfWidth - insetX) + 0.5)),
            int(std::floor(centre.y() - position.y() * (halfHeight - insetY) + 0.5)));
    }

    // The mask: the sample square in at most kMaxEdgeCells cells a side.
    m_step = (m_sampleSize + kMaxEdgeCells - 1) / kMaxEdgeCells;
    m_cells = std::min(kMaxEdgeCells, (m_sampleSize + m_step - 1) / m_step);
    const bool ellipse = m_sampleSize > kSmallestEllipse;
    m_inside.assign(size_t(m_cells * m_cells), 1);
    m_distance.assign(size_t(m_cells * m_cells), 0.0f);
    for (int y = 0; y < m_cells; ++y) {
        for (int x = 0; x < m_cells; ++x) {
            const double u = (x + 0.5) / m_cells * 2.0 - 1.0;
            const double v = (y + 0.5) / m_cells * 2.0 - 1.0;
            const double radius = std::sqrt(u * u + v * v);
            const size_t cell = size_t(y * m_cells + x);
            m_distance[cell] = float(std::min(1.0, radius));
            if (ellipse && radius > 1.0) {
                m_inside[cell] = 0;
            }
        }
    }
    const int half = m_cells * m_step / 2;
    for (int y = 0; y < m_cells; ++y) {
        const auto row = m_inside.begin() + y * m_cells;
        const auto first = std::find(row, row + m_cells, 1);
        const auto last = std::find(first, row + m_cells, 0);
        if (first != last) {
            m_spans.push_back(
                {int(first - row) * m_step - half, y * m_step - half, int(last - first)});
        }
    }
    SetWeights(ImportSettings());
}

QRect LedSampler::SampleRect(int n) const {
    const QPoint at = m_leds[size_t(n)];
    const int span = m_cells * m_step;
    return QRect(at.x() - span / 2, at.y() - span / 2, span, span) & QRect(QPoint(0, 0), m_size);
}

void LedSampler::SetWeights(const ImportSettings& settings) {
    // Distance Weight fades the mask towards its rim; at full weight the rim counts nothing.
    const float fade = float(settings.distanceWeight) / ImportSettings::kMaxLevel;
    const int half = m_cells * m_step / 2;
    m_taps.clear();
    for (int y = 0; y < m_cells; ++y) {
        for (int x = 0; x < m_cells; ++x) {
            const size_t cell = size_t(y * m_cells + x);
            const float weight = m_inside[cell] ? 1.0f - fade * m_distance[cell] : 0.0f;
            if (weight > 0.0f) {
                m_taps.push_back({x * m_step - half, y * m_step - half, weight});
            }
        }
    }
    if (m_taps.empty()) {
        m_taps.push_back({0, 0, 1.0f});  // the centre cell always counts
    }
    // Luminance Weight: a pixel of luminance l counts (1 - w) + w * l; the cutoff leaves out
    // pixels darker ("Less") or brighter ("Greater") than it.
    const float lumaWeight = float(settings.luminanceWeight) / ImportSettings::kMaxLevel;
    const bool cutLess = settings.cutoffMode == ImportSettings::CutoffMode::Less;
    for (int luma = 0; luma < 256; ++luma) {
        const bool cut = cutLess ? luma < settings.cutoff : luma > settings.cutoff;
        m_lumaWeight[size_t(luma)] = cut ? 0.0f : (1.0f - lumaWeight) + lumaWeight * luma / 255.0f;
    }
    m_uniform = fade == 0.0f && !m_spans.empty() && m_lumaWeight[0] > 0.0f &&
                std::all_of(m_lumaWeight.begin(), m_lumaWeight.end(),
                            [this](float weight) { return weight == m_lumaWeight[0]; });
}

void LedSampler::Sample(const QImage& picture, QRgb* leds) const {
    const bool average = m_uniform && picture.format() == QImage::Format_RGB32;
    for (size_t n = 0; n < m_leds.size(); ++n) {
        leds[n] = average ? AverageLed(picture, m_leds[n]) : SampleLed(picture, m_leds[n]);
    }
}

namespace {

// Adds up the channels of a mask row of at most kMaxEdgeCells pixels `step` apart. Red and blue
// are summed in one word (blue in the low half, red from bit 16), which a row cannot overflow.
// Contiguous rows go eight pixels at a time into eight separate sums, which the compiler turns
// into vector additions.
void AddRow(const QRgb* pixels, int count, int step, quint32* red, quint32* green, quint32* blue) {
    constexpr int kLanes = 8;
    std::array<quint32, kLanes> redBlue{};
    std::array<quint32, kLanes> greens{};
    int k = 0;
    if (step == 1) {
        for (; k + kLanes <= count; k += kLanes) {
            for (int lane = 0; lane < kLanes; ++lane) {
                const QRgb pixel = pixels[k + lane];
                redBlue[size_t(lane)] += pixel & 0x00FF00FFu;
                greens[size_t(lane)] += (pixel >> 8) & 0xFFu;
            }
        }
    }
    for (; k < count; ++k) {
        const QRgb pixel = pixels[k * step];
        redBlue[0] += pixel & 0x00FF00FFu;
        greens[0] += (pixel >> 8) & 0xFFu;
    }
    for (int lane = 0; lane < kLanes; ++lane) {
        *red += redBlue[size_t(lane)] >> 16;
        *green += greens[size_t(lane)];
        *blue += redBlue[size_t(lane)] & 0xFFFFu;
    }
}

}  // namespace

QRgb LedSampler::AverageLed(const QImage& picture, QPoint at) const {
    static_assert(kMaxEdgeCells * 255 <= 0xFFFF, "a row's blue must fit below red");
    const int width = picture.width();
    const int height = picture.height();
    const auto* bits = reinterpret_cast<const QRgb*>(picture.constBits());
    const qsizetype stride = picture.bytesPerLine() / qsizetype(sizeof(QRgb));
    quint32 red = 0, green = 0, blue = 0;
    int count = 0;
    for (const Span& span : m_spans) {
        const int y = at.y() + span.dy;
        const int x = at.x() + span.dx;  // the span's first cell, perhaps left of the picture
        if (y < 0 || y >= height || x >= width) {
            continue;
        }
        const int from = x < 0 ? (m_step - 1 - x) / m_step : 0;
        const int to = std::min(span.cells, (width - 1 - x) / m_step + 1);
        if (from < to) {
            AddRow(bits + y * stride + x + from * m_step, to - from, m_step, &red, &green, &blue);
            count += to - from;
        }
    }
    if (count == 0) {
        return qRgba(0, 0, 0, 0);
    }
    const auto channel = [count](quint32 sum) {
        return int((2 * sum + quint32(count)) / (2 * quint32(count)));
    };
    return qRgb(channel(red), channel(green), channel(blue));
}

QRgb LedSampler::SampleLed(const QImage& picture, QPoint at) const {
    const int width = picture.width();
    const int height = picture.height();
    const auto* bits = reinterpret_cast<const QRgb*>(picture.constBits());
    const qsizetype stride = picture.bytesPerLine() / qsizetype(sizeof(QRgb));
    const int first = -(m_cells * m_step / 2);
    const int last = first + (m_cells - 1) * m_step;
    const bool inside = at.x() + first >= 0 && at.y() + first >= 0 && at.x() + last < width &&
                        at.y() + last < height;
    float red = 0, green = 0, blue = 0, weights = 0, alpha = 0, area = 0;
    for (const Tap& tap : m_taps) {
        const int x = at.x() + tap.dx;
        const int y = at.y() + tap.dy;
        if (!inside && (x < 0 || y < 0 || x >= width || y >= height)) {
            continue;
        }
        const QRgb pixel = bits[y * stride + x];
        const float opacity = qAlpha(pixel) * (1.0f / 255.0f);
        area += tap.weight;
        alpha += tap.weight * opacity;
        const float weight = tap.weight * opacity * m_lumaWeight[size_t(Luma8(pixel))];
        red += weight * qRed(pixel);
        green += weight * qGreen(pixel);
        blue += weight * qBlue(pixel);
        weights += weight;
    }
    if (area <= 0.0f || alpha < 0.5f * area) {
        return qRgba(0, 0, 0, 0);
    }
    if (weights <= 0.0f) {
        return qRgb(0, 0, 0);
    }
    const auto channel = [weights](float sum) {
        return std::clamp(int(sum / weights + 0.5f), 0, 255);
    };
    return qRgb(channel(red), channel(green), channel(blue));
}
