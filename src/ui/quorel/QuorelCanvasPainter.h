#pragma once

#include "quorel/QuorelSettings.h"
#include "quorel/QuorelTemplate.h"

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QTransform>

#include <map>
#include <vector>

class QPainter;

// What the Quorel canvas shows: a template's fixtures as discs of their family over the media
// placed in the template's frame, with the optional grid, mask, sample squares and addresses.
// It keeps the media scaled to the frame's size on screen and the discs of the current preview,
// so that repainting the same frame costs little.
class QuorelCanvasPainter {
public:
    using Preview = std::map<const QuorelTypes::Fixture*, std::vector<QRgb>>;

    struct Options {
        bool media = true;
        bool samples = false;
        bool mask = false;
        bool addresses = true;
        bool grid = false;
        bool snap = false;  // drags snap fixtures to the grid; nothing to draw
        int gridScale = 16;
    };

    struct Scene {
        const QuorelTemplate* quorel = nullptr;
        QTransform toWidget;  // canvas units to widget pixels
        QRect widget;
        const QImage* media = nullptr;
        const QuorelSettings* settings = nullptr;
        const Preview* preview = nullptr;
        Options options;
        QRectF rubberBand;  // in canvas units; empty when none
    };

    void Paint(QPainter& painter, const Scene& scene);
    // Each LED's sample square in canvas units, in the family's LED order; none when the
    // fixture has no media pixels under it.
    static std::vector<QRectF> SampleSquares(const QuorelTemplate& quorel,
                                             const QuorelTypes::Fixture& fixture,
                                             const QuorelSettings& settings, QSize media);
    // The preview's colours changed: its discs are drawn afresh.
    void PreviewChanged() { m_discs.clear(); }

private:
    void PaintCanvas(QPainter& painter, const Scene& scene) const;
    void PaintMedia(QPainter& painter, const Scene& scene);
    void PaintMask(QPainter& painter, const Scene& scene) const;
    void PaintGrid(QPainter& painter, const Scene& scene) const;
    void PaintSamples(QPainter& painter, const Scene& scene) const;
    void PaintFixtures(QPainter& painter, const Scene& scene);
    void PaintAddress(QPainter& painter, const QuorelTypes::Fixture& fixture,
                      const QRectF& onWidget) const;
    const QImage& Disc(const QuorelTypes::Fixture& fixture, const std::vector<QRgb>& leds,
                       int size);

    QImage m_scaledMedia;
    qint64 m_scaledKey = 0;
    std::map<const QuorelTypes::Fixture*, QImage> m_discs;
    int m_discSize = 0;
};
