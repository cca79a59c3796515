#pragma once

#include "content/ledimage/LumoRDMImage.h"

// The record of a second-family image: 61 LEDs, 70-byte entries.
class SolviRDMImage : public LumoRDMImage {
public:
    static constexpr int kLedCount = 61;
    SolviRDMImage() : LumoRDMImage(kLedCount) {}
};
