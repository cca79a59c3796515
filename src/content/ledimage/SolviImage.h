#pragma once

#include "content/ledimage/LEDImage.h"
#include "content/ledimage/LEDImageTraits.h"
#include "content/ledimage/SolviRDMImage.h"

class MarqaImage;

using SolviTraits = LEDImageTraits<1, SolviRDMImage, LEDImageRender>;

// An image of the second family: 61 LEDs on four rings and a centre; files "slvi".
class SolviImage : public LEDImage<SolviImage, SolviTraits> {
    Q_OBJECT

public:
    SolviImage() = default;

    // The image resampled onto this family's LEDs: each LED takes the value of the source
    // LED nearest to it, so the converted image looks like its source.
    static std::unique_ptr<SolviImage> ConvertFrom(const MarqaImage& source);
};
