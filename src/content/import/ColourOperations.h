#pragma once

#include <QRgb>

// The colour arithmetic of importing: channels as 0..1 values, results truncated back to
// 0..255.
namespace ColourOperations {

// 0.299 R + 0.587 G + 0.114 B, each channel as 0..1.
double Luminance(QRgb rgb);
// Each of red, green and blue times `factor`, held to 0..1; alpha unchanged.
QRgb ScaleColour(QRgb rgb, double factor);
// Spreads the luminance away from (c > 0) or towards (c < 0) the middle grey; c = 0 and black
// return the colour unchanged.
QRgb ApplyContrast(QRgb rgb, double c);

}  // namespace ColourOperations
