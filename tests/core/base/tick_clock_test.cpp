// The fall clock: the ticks due, a batch that ends early, the time to sleep.
#include "core/base/tick_clock.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace vorblin {
namespace {

constexpr int64_t kMs = 1'000'000;

TEST(TickClock, CountsDueTicksRunsThemAndSleepsAFrameAtLeast) {
    TickClock clock;
    EXPECT_EQ(clock.Due(100 * kMs), 0);  // not started
    clock.Start(10 * kMs);
    const std::pair<int64_t, int> due[] = {
        {10 * kMs, 0}, {12 * kMs - 1, 0}, {12 * kMs, 1}, {31 * kMs, 10}, {5 * kMs, 0}};
    for (auto [now, ticks] : due)
        EXPECT_EQ(clock.Due(now), ticks) << now;
    int ticks = 0;
    EXPECT_EQ(clock.RunDue(31 * kMs, [&] { ++ticks; }), 10);
    EXPECT_EQ(ticks, 10);
    EXPECT_EQ(clock.Due(31 * kMs), 0);
    EXPECT_EQ(clock.Due(32 * kMs), 1);
    // The next fall step 50 ticks ahead of the last tick run (at 30 ms): at 130 ms; a
    // step closer than a frame waits a frame.
    EXPECT_EQ(clock.WakeAt(31 * kMs, 50), 130 * kMs);
    EXPECT_EQ(clock.WakeAt(31 * kMs, 1), 31 * kMs + TickClock::kFrameNs);
    EXPECT_EQ(clock.WakeAt(31 * kMs, 8), 31 * kMs + TickClock::kFrameNs);
    EXPECT_EQ(clock.WakeAt(31 * kMs, 9), 48 * kMs);

    clock.Stop();
    EXPECT_EQ(clock.Due(1000 * kMs), 0);
    EXPECT_EQ(clock.RunDue(1000 * kMs, [&] { ++ticks; }), 0);
    clock.Start(1000 * kMs);  // resumed: nothing owed for the pause
    EXPECT_EQ(clock.Due(1003 * kMs), 1);
}

TEST(TickClock, ATickThatStopsOrRestartsTheClockEndsTheBatch) {
    TickClock clock;
    clock.Start(0);
    int ticks = 0;
    EXPECT_EQ(clock.RunDue(20 * kMs,
                           [&] {
                               if (++ticks == 3)
                                   clock.Stop();
                           }),
              3);
    clock.Start(0);
    ticks = 0;
    EXPECT_EQ(clock.RunDue(20 * kMs,
                           [&] {
                               if (++ticks == 4)
                                   clock.Start(8 * kMs);  // as after a game over's dialogs
                           }),
              4);
    EXPECT_EQ(clock.Due(20 * kMs), 6);
}

}  // namespace
}  // namespace vorblin
