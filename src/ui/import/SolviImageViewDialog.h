#pragma once

#include "content/ledimage/LEDImageFamily.h"
#include "content/ledimage/SolviImage.h"
#include "ui/import/LEDImageViewDialog.h"

// "Solvi Image - name": a SolviImage frame by frame.
class SolviImageViewDialog : public LEDImageViewDialog<SolviImage> {
public:
    explicit SolviImageViewDialog(const SolviImage& image, QWidget* parent = nullptr)
        : LEDImageViewDialog(LEDImageFamily::FamilyName(LEDImageFamily::Family::Solvi), image,
                             parent) {}
};
