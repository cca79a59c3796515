#pragma once

#include "content/ledimage/LEDImageFamily.h"
#include "content/ledimage/SolviImage.h"
#include "ui/import/LEDImageImportDialog.h"

// "Solvi Image Import - file": a file imported into a SolviImage.
class SolviImageImportDialog : public LEDImageImportDialog<SolviImage> {
public:
    explicit SolviImageImportDialog(const QString& file, QWidget* parent = nullptr)
        : LEDImageImportDialog(LEDImageFamily::FamilyName(LEDImageFamily::Family::Solvi), file,
                               parent) {}
};
