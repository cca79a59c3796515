#pragma once

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

// Runs work(i) for every i in [0, count) on all the machine's cores and returns when every call
// has returned. Plain threads, started and joined here, so the hand-over of the results to the
// caller is ordinary thread joining.
template <class Work>
void ParallelFor(int count, const Work& work) {
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, std::max(1, count));
    std::atomic<int> next{0};
    const auto run = [&] {
        for (int i = next++; i < count; i = next++) {
            work(i);
        }
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        helpers.emplace_back(run);
    }
    run();
    for (std::thread& helper : helpers) {
        helper.join();
    }
}
