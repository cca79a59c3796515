#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace QuorelTypes {

// Family numbers of templates and fixtures: 0 is the Marqa family, anything else Solvi.
constexpr int kMarqa = 0;
constexpr int kSolvi = 1;

// One fixture of a Quorel layout, on the template's normalised canvas.
struct Fixture {
    QPointF pos;   // the centre
    QSizeF scale;  // the size
    int num = 0;   // the Quorel address the fixture answers to
    int type = kMarqa;
    bool selected = false;  // on the canvas only; not stored
    int working = 0;        // scratch value of the creator; not stored

    // From the centre minus half the size to the centre plus half the size.
    QRectF Rect() const {
        return {pos.x() - scale.width() / 2, pos.y() - scale.height() / 2, scale.width(),
                scale.height()};
    }
    bool IsMarqa() const { return type == kMarqa; }
};

}  // namespace QuorelTypes
