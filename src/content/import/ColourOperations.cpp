#include "content/import/ColourOperations.h"

#include <algorithm>
#include <cmath>

namespace ColourOperations {

double Luminance(QRgb rgb) {
    return 0.299 * qRed(rgb) / 255.0 + 0.587 * qGreen(rgb) / 255.0 + 0.114 * qBlue(rgb) / 255.0;
}

QRgb ScaleColour(QRgb rgb, double factor) {
    const auto scale = [factor](int channel) {
        // The small bias keeps exact products (100 x 0.5) from truncating one step low.
        return int(std::min(1.0, std::max(0.0, channel / 255.0 * factor)) * 255.0 + 1e-9);
    };
    return qRgba(scale(qRed(rgb)), scale(qGreen(rgb)), scale(qBlue(rgb)), qAlpha(rgb));
}

QRgb ApplyContrast(QRgb rgb, double c) {
    const double l = Luminance(rgb);
    if (c == 0.0 || l <= 0.0) {
        return rgb;  // black has no hue to scale (the factor would divide by 0)
    }
    const double s = l < 0.5 ? -1.0 : 1.0;
    const double spread = s * std::pow(std::fabs(2.0 * l - 1.0), 1.0 - c);
    return ScaleColour(rgb, (spread + 1.0) / (2.0 * l));
}

}  // namespace ColourOperations
