// The fall clock (the ticks due, a batch that ends early, the time to sleep) and the date the
// hall of fame is given.
#include <gtest/gtest.h>

#include <ctime>

#include "core/base/random_clock.h"
#include "core/base/tick_clock.h"

namespace vorblin {
namespace {

constexpr int64_t kMs = 1'000'000;

// Ticks of 2 ms from the start, none owed before it or while stopped; the next fall step 50
// ticks ahead of the last tick run (at 30 ms) is at 130 ms, one closer than a frame waits a
// frame. A tick that stops the clock, or starts it anew as after a game over's dialogs, ends
// the batch.
TEST(TickClock, CountsDueTicksRunsThemSleepsAFrameAtLeastAndEndsABatchOnARestart) {
    TickClock clock;
    std::string seen = std::to_string(clock.Due(100 * kMs)) + " ";
    clock.Start(10 * kMs);
    for (const int64_t now : {12 * kMs - 1, 12 * kMs, 31 * kMs, 5 * kMs})
        seen += std::to_string(clock.Due(now)) + " ";
    int ticks = 0;
    seen += std::to_string(clock.RunDue(31 * kMs, [&] { ++ticks; })) + " ";
    seen += std::to_string(clock.Due(32 * kMs)) + " ";
    for (const int64_t ahead : {50, 8, 9})
        seen += std::to_string(clock.WakeAt(31 * kMs, ahead) / 1000) + " ";
    clock.Stop();
    seen += std::to_string(clock.Due(1000 * kMs)) + " ";
    for (const bool restart : {false, true}) {
        clock.Start(0);
        ticks = 0;
        const auto third = [&] {
            if (++ticks == 3 && restart)
                clock.Start(8 * kMs);
            else if (ticks == 3)
                clock.Stop();
        };
        seen += std::to_string(clock.RunDue(20 * kMs, third)) + " ";
    }
    EXPECT_EQ(seen + std::to_string(clock.Due(20 * kMs)),
              "0 0 1 10 0 10 1 130000 47666 48000 0 3 3 6");
}

TEST(SystemClock, GivesTheSecondsOfTheTimeOfDayAndTheDateAsTheTableHoldsIt) {
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
