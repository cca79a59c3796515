#pragma once

#include "content/ledimage/LEDImageRender.h"

#include <QDialog>

#include <array>

class QTableWidget;

// The palette of an LED image as a table: for each entry that some LED of some frame uses, in
// index order, the number of frames using it ("Frames"), the number of LEDs using it over all
// frames ("Pixels"), its colour ("Color", red green blue, with a swatch) and its index. Entries
// no LED uses are left out: a palette always has 256 entries, and an imported image fills
// only the ones it needs.
class ImagePaletteDialog : public QDialog {
    Q_OBJECT

public:
    struct Use {
        int frames = 0;
        int pixels = 0;
    };
    using Uses = std::array<Use, 256>;

    // `family` names the family in the title ("Marqa": "Marqa Image Palette").
    ImagePaletteDialog(const QString& family, const LEDPalette& palette, const Uses& uses,
                       QWidget* parent = nullptr);

    // How the frames (each with `leds`, one palette index per LED) use the palette.
    template <class Frames>
    static Uses CountUses(const Frames& frames) {
        Uses uses{};
        for (const auto& frame : frames) {
            std::array<bool, 256> seen{};
            for (const quint8 index : frame.leds) {
                ++uses[index].pixels;
                if (!seen[index]) {
                    seen[index] = true;
                    ++uses[index].frames;
                }
            }
        }
        return uses;
    }

    QTableWidget* Table() const { return m_table; }

private:
    QTableWidget* m_table;  // child of this dialog
};
