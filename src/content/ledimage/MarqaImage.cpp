#include "content/ledimage/MarqaImage.h"

#include "content/ledimage/LEDImageConvert.h"
#include "content/ledimage/SolviImage.h"

std::unique_ptr<MarqaImage> MarqaImage::ConvertFrom(const SolviImage& source) {
    return ConvertLEDImage<MarqaImage>(source);
}
