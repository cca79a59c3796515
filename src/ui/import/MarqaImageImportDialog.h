#pragma once

#include "content/ledimage/LEDImageFamily.h"
#include "content/ledimage/MarqaImage.h"
#include "ui/import/LEDImageImportDialog.h"

// "Marqa Image Import - file": a file imported into a MarqaImage.
class MarqaImageImportDialog : public LEDImageImportDialog<MarqaImage> {
public:
    explicit MarqaImageImportDialog(const QString& file, QWidget* parent = nullptr)
        : LEDImageImportDialog(LEDImageFamily::FamilyName(LEDImageFamily::Family::Marqa), file,
                               parent) {}
};
