#pragma once

#include <QSize>

#include <algorithm>

// How a picture is sampled onto a fixture's LEDs: the import dialog's settings, with their
// defaults. 128 is neutral for contrast and brightness.
struct ImportSettings {
    enum class Aspect { Keep, Ignore };
    enum class CutoffMode { Less, Greater };
    enum class ColourMode { Normal, Greyscale, Monochrome };

    static constexpr int kMinSampleSize = 10;
    static constexpr int kMaxLevel = 255;  // the top of the 0..255 settings
    static constexpr int kNeutral = 128;

    Aspect aspect = Aspect::Keep;
    int sampleSize = 50;  // the edge of the area each LED takes its colour from, in pixels
    int contrast = kNeutral;
    int brightness = kNeutral;
    int luminanceWeight = 0;
    int distanceWeight = 0;
    int cutoff = 0;
    CutoffMode cutoffMode = CutoffMode::Less;
    bool invert = false;
    ColourMode colour = ColourMode::Normal;

    // The largest sample size for a first picture of `size`: its shorter edge.
    static int MaxSampleSize(QSize size) {
        return std::max(kMinSampleSize, std::min(size.width(), size.height()));
    }

    bool operator==(const ImportSettings&) const = default;
};
