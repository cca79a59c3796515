#pragma once

#include "comm/ProgressMeter.h"

class IFeedback;

// How far one port's discovery has come, told to the discovery's feedback. While it
// searches: the share of the id space settled, the ranges searched and the fixtures found;
// afterwards the fixtures read. The search takes the first kSearchSteps of kSteps.
class DiscoveryProgress {
public:
    static constexpr int kSteps = 1000;
    static constexpr int kSearchSteps = 400;

    // The search runs over the ids 0 to `upper`.
    DiscoveryProgress(IFeedback* feedback, quint64 upper);

    // One more range searched.
    void Searching();
    // A range holds no fixture that is not found yet.
    void Settled(quint64 lower, quint64 upper);
    void Found();

    // The search is over; fixture `done` of `count` (from 0) is being read, the reading
    // taking the steps up to `end`.
    void Reading(const char* doing, int done, int count, int end);
    // The step reached so far.
    int Step() const { return m_meter.Current(); }
    void Finish();

    // "reading fixture 2 of 5" for the fixture `done` (from 0) of `count`.
    static QString ReadingText(const char* doing, int done, int count);

private:
    QString SearchText() const;

    ProgressMeter m_meter;
    const double m_space;
    double m_settled = 0;
    int m_ranges = 0;
    int m_found = 0;
};
