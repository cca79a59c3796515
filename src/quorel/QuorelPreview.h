#pragma once

#include "content/import/ImageImporter.h"
#include "quorel/QuorelSettings.h"
#include "quorel/QuorelTemplate.h"

#include <QImage>

#include <map>
#include <memory>
#include <vector>

// What every fixture of a template shows for one frame of the media: the colours of its LEDs,
// sampled and adjusted as the render will (before the clip's palette is chosen). The fixtures'
// sampling placements are kept between frames, so stepping or playing a clip only samples.
class QuorelPreview {
public:
    using Leds = std::map<const QuorelTypes::Fixture*, std::vector<QRgb>>;

    // The LED colours of each fixture with media under it (fixtures without are left out), from
    // `frame`, which may be the media's frame of `original` size scaled down: each fixture
    // reads the same part of it, with its sample scaled alike.
    Leds Sample(const QuorelTemplate& quorel, const QImage& frame, QSize original,
                const QuorelSettings& settings);

private:
    ImageImporter& ImporterFor(const QuorelTypes::Fixture& fixture);

    std::map<const QuorelTypes::Fixture*, std::unique_ptr<ImageImporter>> m_importers;
};
