#pragma once

#include "content/import/ImportSettings.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <array>
#include <vector>

class LEDImageRender;

// Where one family's LEDs fall on pictures of one size and which pixels each LED takes its
// colour from. The disc is fitted into the picture ("Keep": the centred square, so circles stay
// round; "Ignore": the whole picture). Each LED reads a square of Sample Size pixels around its
// position through a mask of at most kMaxEdgeCells x kMaxEdgeCells cells: a larger sample reads
// every n-th pixel. The mask is the filled ellipse inscribed in the square (all cells for tiny
// samples). Each pixel counts with its mask weight (less towards the edge as Distance Weight
// rises), its luminance weight (darker pixels count less as Luminance Weight rises), its alpha,
// and not at all when its luminance falls on the cut side of the Luminance Cutoff.
class LedSampler {
public:
    static constexpr int kMaxEdgeCells = 64;

    LedSampler(const LEDImageRender& layout, QSize pictureSize, ImportSettings::Aspect aspect,
               int sampleSize);

    QSize PictureSize() const { return m_size; }
    ImportSettings::Aspect Aspect() const { return m_aspect; }
    int SampleSize() const { return m_sampleSize; }
    // The LEDs' whole pixel positions, in LED order.
    const std::vector<QPoint>& LedPixels() const { return m_leds; }
    // The picture area LED n reads (within the picture).
    QRect SampleRect(int n) const;
    // The mask's cells: edge length, pixel step, and whether cell (x, y) is inside it.
    int MaskCells() const { return m_cells; }
    int MaskStep() const { return m_step; }
    bool MaskCell(int x, int y) const { return m_inside[size_t(y * m_cells + x)] != 0; }

    // Sets the pixel weights of the settings that act on them.
    void SetWeights(const ImportSettings& settings);

    // The colour of every LED from a picture of PictureSize() in ARGB32 or RGB32 format:
    // the weighted average of its pixels, alpha 0 for an LED whose pixels are mostly
    // transparent, black for one whose pixels are all cut off.
    void Sample(const QImage& picture, QRgb* leds) const;

private:
    struct Tap {
        int dx;
        int dy;
        float weight;
    };
    // One row of the mask's cells (the mask is convex, so its cells in a row are contiguous).
    struct Span {
        int dx;  // the first cell's offset from the LED's pixel
        int dy;
        int cells;
    };

    QRgb SampleLed(const QImage& picture, QPoint at) const;
    // The plain average of the pixels under the mask, for opaque pictures while every pixel
    // counts the same.
    QRgb AverageLed(const QImage& picture, QPoint at) const;

    QSize m_size;
    ImportSettings::Aspect m_aspect;
    int m_sampleSize;
    int m_cells = 1;
    int m_step = 1;
    std::vector<QPoint> m_leds;
    std::vector<quint8> m_inside;   // m_cells x m_cells, row by row
    std::vector<float> m_distance;  // each cell's distance from the centre, 0..1 at the rim
    std::vector<Tap> m_taps;        // the weighted cells, as offsets from the LED's pixel
    std::vector<Span> m_spans;
    bool m_uniform = false;                 // every tap and every luminance weighs the same
    std::array<float, 256> m_lumaWeight{};  // by 8-bit luminance: weight, 0 when cut off
};
