#pragma once

#include "quorel/QuorelTypes.h"

#include <QString>

#include <array>
#include <memory>
#include <vector>

// One reusable Quorel layout: a named set of fixtures of one family on a normalised canvas,
// the placement of the media frame and two sampling settings. The template owns its fixtures;
// their addresses stay put while the list changes, so the canvas can hold on to them.
class QuorelTemplate {
public:
    using Frame = std::array<double, 4>;
    static constexpr Frame kNewFrame{0.25, 0.25, 0.5, 0.5};
    // The frame of a stored template that does not give one.
    static constexpr Frame kStoredFrame{0.5, 0.5, 0.25, 0.25};
    static constexpr int kDefaultZoom = 32;
    static constexpr int kDefaultSample = 50;

    QString name;
    Frame frame = kNewFrame;
    int fixtureType = QuorelTypes::kMarqa;
    int zoom = kDefaultZoom;
    int sample = kDefaultSample;
    bool locked = false;

    const std::vector<std::unique_ptr<QuorelTypes::Fixture>>& Fixtures() const {
        return m_fixtures;
    }
    QuorelTypes::Fixture* AddFixture(const QuorelTypes::Fixture& fixture);
    // Removes and deletes one of this template's fixtures; false when it is not one of them.
    bool RemoveFixture(const QuorelTypes::Fixture* fixture);
    // Takes zoom, sample, family and a copy of every fixture (in order) from `other`; name,
    // frame and lock stay.
    void CopyLayoutFrom(const QuorelTemplate& other);
    // The smallest address from 1 up that no fixture has.
    int NextFreeNum() const;

private:
    std::vector<std::unique_ptr<QuorelTypes::Fixture>> m_fixtures;
};
