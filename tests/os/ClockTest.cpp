#include "os/Clock.h"

#include <gtest/gtest.h>

#include <chrono>

TEST(ClockTest, VirtualClockAdvancesAtOnceAndIsRemovedWithItsScope) {
    Os::Clock& real = Os::Clock::Instance();
    {
        Os::ScopedVirtualClock scoped;
        Os::Clock& clock = Os::Clock::Instance();
        EXPECT_EQ(&clock, &scoped.clock());
        const auto before = std::chrono::steady_clock::now();
        clock.Wait(10'000);  // ten seconds of protocol time
        clock.WaitMicros(250);
        EXPECT_EQ(clock.NowMicros(), 10'000'250);
        EXPECT_EQ(clock.NowMs(), 10'000);
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
        {
            Os::ScopedVirtualClock nested;
            EXPECT_EQ(&Os::Clock::Instance(), &nested.clock());
        }
        EXPECT_EQ(&Os::Clock::Instance(), &scoped.clock());
    }
    EXPECT_EQ(&Os::Clock::Instance(), &real);
}

TEST(ClockTest, RealClockWaitsAtLeastTheTimeAskedFor) {
    Os::RealClock clock;
    const qint64 start = clock.NowMicros();
    clock.Wait(5);
    EXPECT_GE(clock.NowMicros() - start, 5000);
}
