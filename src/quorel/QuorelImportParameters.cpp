#include "quorel/QuorelSettings.h"

#include <cmath>

QuorelImportParameters QuorelImportParameters::Derive(const QuorelSettings& settings, QSizeF pixels,
                                                      bool marqa) {
    QuorelImportParameters derived;
    derived.colourMode = int(settings.colour);
    derived.cutoffMode = int(settings.cutoffMode);
    derived.cutoff = settings.cutoff / 255.0;
    derived.distanceWeight = settings.distanceWeight / 255.0;
    derived.luminanceWeight = settings.luminanceWeight / 255.0 * (settings.invert ? -1.0 : 1.0);
    derived.contrast = (settings.contrast * 0.00390625 - 0.5) * 2.0;
    if (derived.contrast < 0) {
        derived.contrast *= 2.0;
    }
    derived.brightness = 2 * (settings.brightness - 128) * 0.0078125 + 1.0;
    const double divisor = marqa ? 40.0 : 25.0;
    const double spacingX = std::max(1.0, pixels.width() / divisor);
    const double spacingY = std::max(1.0, pixels.height() / divisor);
    const auto grid = [&](double spacing) {
        return std::clamp(int(std::lround(settings.sampleSize / spacing)), kMinGrid, kMaxGrid);
    };
    derived.gridWidth = grid(spacingX);
    derived.gridHeight = grid(spacingY);
    derived.spacing = std::min(spacingX, spacingY);
    return derived;
}

ImportSettings QuorelImportParameters::ToImportSettings() const {
    ImportSettings settings;
    settings.aspect = ImportSettings::Aspect::Ignore;  // the fixture's disc fills its rectangle
    settings.sampleSize = std::max(1, int(std::lround(std::min(gridWidth, gridHeight) * spacing)));
    // The importer reads contrast as (value - 128) / 128, brightness as value / 128 and the
    // weights and cutoff as value / 255: these values give exactly the derived ones.
    settings.contrast = int(std::lround(128 + contrast * 128));
    settings.brightness = int(std::lround(brightness * 128));
    settings.luminanceWeight = int(std::lround(luminanceWeight * 255));
    settings.distanceWeight = int(std::lround(distanceWeight * 255));
    settings.cutoff = int(std::lround(cutoff * 255));
    settings.cutoffMode = ImportSettings::CutoffMode(cutoffMode);
    settings.colour = ImportSettings::ColourMode(colourMode);
    settings.invert = false;
    return settings;
}
