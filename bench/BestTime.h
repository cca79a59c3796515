#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <functional>

// The best of `runs` timings of `work`, in seconds.
inline double BestTime(int runs, const std::function<void()>& work) {
    double best = 1e9;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}
