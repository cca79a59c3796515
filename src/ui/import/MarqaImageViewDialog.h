#pragma once

#include "content/ledimage/LEDImageFamily.h"
#include "content/ledimage/MarqaImage.h"
#include "ui/import/LEDImageViewDialog.h"

// "Marqa Image - name": a MarqaImage frame by frame.
class MarqaImageViewDialog : public LEDImageViewDialog<MarqaImage> {
public:
    explicit MarqaImageViewDialog(const MarqaImage& image, QWidget* parent = nullptr)
        : LEDImageViewDialog(LEDImageFamily::FamilyName(LEDImageFamily::Family::Marqa), image,
                             parent) {}
};
