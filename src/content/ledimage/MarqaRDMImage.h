#pragma once

#include "content/ledimage/LumoRDMImage.h"

// The record of a first-family image: 127 LEDs, 136-byte entries.
class MarqaRDMImage : public LumoRDMImage {
public:
    static constexpr int kLedCount = 127;
    MarqaRDMImage() : LumoRDMImage(kLedCount) {}
};
