#pragma once

#include "content/ledimage/LEDImage.h"

#include <array>
#include <memory>

// Resamples an image of one family onto the LEDs of another: each target LED takes the
// value of the source LED nearest to its place on the disc. Everything else (name, address,
// tag, content key, header indices, palette, delays, flag) is copied.
template <class Target, class Source>
std::unique_ptr<Target> ConvertLEDImage(const Source& source) {
    std::array<int, Target::kLedCount> nearest;
    for (int n = 0; n < Target::kLedCount; ++n) {
        nearest[size_t(n)] = Source::Renderer().NearestLed(Target::Renderer().LedPosition(n));
    }
    auto target = std::make_unique<Target>();
    const ContentModelLock lock;
    target->SetName(source.Name());
    target->SetAddress(source.Address());
    target->SetTag(source.Tag());
    target->SetContentKey(source.ContentKey());
    target->SetFormat(source.Format());
    target->SetBackgroundIndex(source.BackgroundIndex());
    target->SetTransparentIndex(source.TransparentIndex());
    target->SetPalette(source.Palette());
    target->SetFlagged(source.IsFlagged());
    std::vector<typename Target::Frame> frames;
    for (const typename Source::Frame& from : source.Frames()) {
        typename Target::Frame frame;
        frame.delay = from.delay;
        frame.transparent = from.transparent;
        for (size_t n = 0; n < frame.leds.size(); ++n) {
            frame.leds[n] = from.leds[size_t(nearest[n])];
        }
        frames.push_back(frame);
    }
    target->SetFrames(std::move(frames));
    return target;
}
