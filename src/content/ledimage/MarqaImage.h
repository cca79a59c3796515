#pragma once

#include "content/ledimage/LEDImage.h"
#include "content/ledimage/LEDImageTraits.h"
#include "content/ledimage/MarqaRDMImage.h"

class SolviImage;

using MarqaTraits = LEDImageTraits<0, MarqaRDMImage, LEDImageRender>;

// An image of the first family: 127 LEDs on six rings and a centre; files "mqi".
class MarqaImage : public LEDImage<MarqaImage, MarqaTraits> {
    Q_OBJECT

public:
    MarqaImage() = default;

    // The image resampled onto this family's LEDs: each LED takes the value of the source
    // LED nearest to it, so the converted image looks like its source.
    static std::unique_ptr<MarqaImage> ConvertFrom(const SolviImage& source);
};
