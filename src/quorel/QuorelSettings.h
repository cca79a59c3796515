#pragma once

#include "content/import/ImportSettings.h"

#include <QSize>
#include <QSizeF>

// The Quorel creator's sampling controls, with their defaults; 128 is neutral for contrast and
// brightness.
struct QuorelSettings {
    static constexpr int kMinSampleSize = 10;
    static constexpr int kMaxSampleSize = 100;

    int sampleSize = 50;
    int sampleZoom = 32;
    int contrast = 128;
    int brightness = 128;
    int luminanceWeight = 0;
    int distanceWeight = 0;
    int cutoff = 0;
    ImportSettings::CutoffMode cutoffMode = ImportSettings::CutoffMode::Less;
    bool invert = false;  // "Luminance: Invert": darker pixels weigh more
    ImportSettings::ColourMode colour = ImportSettings::ColourMode::Normal;

    // The largest Sample Size for media whose first frame has `size`: a third of its shorter
    // edge, at most 100 (and never below the smallest).
    static int MaxSampleSize(QSize size) {
        return std::max(kMinSampleSize,
                        std::min(std::min(size.width(), size.height()) / 3, kMaxSampleSize));
    }
};

// What one fixture's importer is given, derived from the controls: the colour and weight
// values on the importer's scales, and the sample grid of the fixture.
struct QuorelImportParameters {
    // The largest grid per side: each LED reads at most 30 x 30 sample points.
    static constexpr int kMaxGrid = 30;
    static constexpr int kMinGrid = 3;

    int colourMode = 0;
    int cutoffMode = 0;
    double cutoff = 0;
    double distanceWeight = 0;
    double luminanceWeight = 0;  // negative: darker pixels weigh more
    double contrast = 0;
    double brightness = 1;
    int gridWidth = kMinGrid;
    int gridHeight = kMinGrid;
    double spacing = 1;  // pixels between sample points

    // For a fixture of `pixels` media pixels of the family (true: Marqa): its sample points lie
    // its width / 40 (Marqa) or / 25 (Solvi) apart, and its grid spans about Sample Size pixels.
    static QuorelImportParameters Derive(const QuorelSettings& settings, QSizeF pixels, bool marqa);
    // The same values in the importer's settings (their scales carry them exactly).
    ImportSettings ToImportSettings() const;
};
