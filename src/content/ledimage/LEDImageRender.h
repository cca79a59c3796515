#pragma once

#include <QImage>
#include <QPointF>

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

// The 256 colours of an LED image (alpha 255).
using LEDPalette = std::array<QRgb, 256>;

// Where the LEDs of one fixture family sit and how its frames are drawn. The LEDs lie on
// concentric rings of the unit disc (x to the right, y up), numbered from the outer ring
// inwards and clockwise within a ring from just right of the top; the last LED is the centre.
// Pictures are square: the disc is centred with y pointing down, and each LED is a round dot.
class LEDImageRender {
public:
    struct Ring {
        int count;  // 1 for the centre
        double radius;
    };

    // The edge of the pictures that the image classes draw unless told otherwise.
    static constexpr int kDefaultSize = 128;
    // Pictures are limited to this edge, so a stray argument cannot ask for gigabytes.
    static constexpr int kMaxSize = 2048;

    LEDImageRender(std::vector<Ring> rings, double dotRadius);

    // The layout of family 0 (127 LEDs) or family 1 (61 LEDs).
    static const LEDImageRender& ForFamily(int familyIndex);

    int LedCount() const { return int(m_positions.size()); }
    // The position of LED n on the unit disc; a number beyond the last is the centre.
    QPointF LedPosition(int n) const;
    // The pixel centre of LED n in a picture of `size` x `size` pixels.
    QPointF PixelPosition(int n, int size) const;
    // The LED nearest to a point of the unit disc.
    int NearestLed(QPointF point) const;

    // For each pixel of a size x size picture, row by row, the LED drawn there or -1.
    std::shared_ptr<const std::vector<qint16>> LedMap(int size) const;

    // The LED values as palette indices on a field of `background`; an 8-bit indexed picture
    // with the palette as its colour table. Null for a size outside 1..kMaxSize.
    QImage RenderIndexed(const quint8* leds, quint8 background, const LEDPalette& palette,
                         int size) const;
    // The LEDs in their colours on the preview grey; LEDs of the transparent index (when not
    // 0) show the grey.
    QImage RenderPreview(const quint8* leds, const LEDPalette& palette, quint8 transparent,
                         int size) const;

private:
    std::vector<QPointF> m_positions;
    double m_dotRadius;
    mutable std::mutex m_mapLock;
    mutable std::map<int, std::shared_ptr<const std::vector<qint16>>> m_maps;
};
