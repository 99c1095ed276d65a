// The fall clock (the ticks due, a batch that ends early, the time to sleep), the numbers as
// the game rounds and counts them, and the system's clock.
#include <gtest/gtest.h>

#include <ctime>

#include "core/base/numbers.h"
#include "core/base/random_clock.h"
#include "core/base/tick_clock.h"

namespace vorblin {
namespace {

constexpr int64_t kMs = 1'000'000;

TEST(TickClock, CountsDueTicksRunsThemSleepsAFrameAtLeastAndEndsABatchOnARestart) {
    TickClock clock;
    EXPECT_EQ(clock.Due(100 * kMs), 0);  // not started
    clock.Start(10 * kMs);
    for (auto [now, due] :
         {std::pair{10 * kMs, 0}, {12 * kMs - 1, 0}, {12 * kMs, 1}, {31 * kMs, 10}, {5 * kMs, 0}})
        EXPECT_EQ(clock.Due(now), due) << now;
    int ticks = 0;
    const auto tick = [&] { ++ticks; };
    EXPECT_EQ(clock.RunDue(31 * kMs, tick), 10);
    EXPECT_EQ(ticks, 10);
    EXPECT_EQ(clock.Due(31 * kMs), 0);
    EXPECT_EQ(clock.Due(32 * kMs), 1);
    // The next fall step 50 ticks ahead of the last tick run (at 30 ms) is at 130 ms; a step
    // closer than a frame waits a frame.
    const int64_t frame = 31 * kMs + TickClock::kFrameNs;
    for (auto [ahead, at] : {std::pair{50, 130 * kMs}, {1, frame}, {8, frame}, {9, 48 * kMs}})
        EXPECT_EQ(clock.WakeAt(31 * kMs, ahead), at) << ahead;
    clock.Stop();
    EXPECT_EQ(clock.Due(1000 * kMs), 0);
    EXPECT_EQ(clock.RunDue(1000 * kMs, tick), 0);
    clock.Start(1000 * kMs);  // resumed: nothing owed for the pause
    EXPECT_EQ(clock.Due(1003 * kMs), 1);
    // A tick that stops the clock, or starts it anew as after a game over's dialogs, ends
    // the batch.
    for (const bool restart : {false, true}) {
        clock.Start(0);
        ticks = 0;
        const auto third = [&] {
            if (++ticks == 3 && restart)
                clock.Start(8 * kMs);
            else if (ticks == 3)
                clock.Stop();
        };
        EXPECT_EQ(clock.RunDue(20 * kMs, third), 3);
    }
    EXPECT_EQ(clock.Due(20 * kMs), 6);
}

TEST(Numbers, RoundingFixAndIntTellHalvesAndNegativesApart) {
    std::string seen;  // nearest (halves to even), Fix and Int of each value
    for (double x : {0.5, 1.5, 2.5, 2.7, -0.5, -1.5, -2.5, -2.7})
        seen += std::to_string(RoundHalfEven(x)) + "," + std::to_string(Fix(x)) + "," +
                std::to_string(Int(x)) + " ";
    EXPECT_EQ(seen, "0,0,0 2,1,1 2,2,2 3,2,2 0,0,-1 -2,-1,-2 -2,-2,-3 -3,-2,-3 ");
    EXPECT_EQ(std::to_string(Shown(25)) + std::to_string(Shown(35)) + std::to_string(Shown(-15)),
              "24-2");              // tenths as shown
    int16_t count = INT16_MAX - 1;  // a 16-bit count stops instead of wrapping
    CountUp(count);
    CountUp(count);
    EXPECT_EQ(count, INT16_MAX);
}

TEST(SystemClock, GivesTheSecondsOfTheTimeOfDayAndTheDate) {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char date[16];
    std::strftime(date, sizeof date, "%d.%m.%Y", &parts);
    SystemClock clock;
    EXPECT_LE((clock.Seconds() - parts.tm_sec + 60) % 60, 1);
    EXPECT_EQ(clock.ShortDate(), date);  // read within a second of the clock above
}

}  // namespace
}  // namespace vorblin
