#include "content/ledimage/SolviImage.h"

#include "content/ledimage/LEDImageConvert.h"
#include "content/ledimage/MarqaImage.h"

std::unique_ptr<SolviImage> SolviImage::ConvertFrom(const MarqaImage& source) {
    return ConvertLEDImage<SolviImage>(source);
}
