// The numbers as the game rounds and counts them, and the system's clock.
#include <gtest/gtest.h>

#include <ctime>

#include "core/base/numbers.h"
#include "core/base/random_clock.h"

namespace vorblin {
namespace {

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
