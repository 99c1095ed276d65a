#include <gtest/gtest.h>

#include <ctime>

#include "game/figures.h"
#include "game/numbers.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::FixedClock;
using testing::ScriptedRandom;

// The figure as rows 0..3 of its box, each row columns 0..3, '#' filled.
std::string Picture(const std::string& shape, int16_t& counter) {
    FigureMatrix m;
    Initialize_Array_For_Brikko(m, shape, counter);
    std::string text;
    for (int b = 0; b < 4; ++b) {
        for (int a = 0; a < 4; ++a)
            text += m(a, b) ? '#' : '.';
        text += b < 3 ? "/" : "";
    }
    return text;
}

TEST(Figures, TheSevenShapesAreChosenByNumberAndReadColumnByColumn) {
    const std::pair<const char*, const char*> shapes[] = {
        {"0000111010000000", ".##./.#../.#../...."}, {"0000011100010000", "..../.#../.#../.##."},
        {"0000111100000000", ".#../.#../.#../.#.."}, {"0000010001100010", "..../.##./..##/...."},
        {"0000001001100100", "..../..##/.##./...."}, {"0000001001110000", "..../..#./.##./..#."},
        {"0000011001100000", "..../.##./.##./...."},
    };
    ScriptedRandom rnd;
    FixedClock clock;
    FigureChooser chooser(rnd, clock);
    int16_t counter = 0;
    for (int n = 0; n < 7; ++n) {
        rnd.Push({0, (n + 0.5f) / 7, 0});  // warm-up, Fix(Rnd * 7) = n, not special
        EXPECT_EQ(chooser.Choose_Figure(), shapes[n].first) << n;
        EXPECT_EQ(Picture(shapes[n].first, counter), shapes[n].second) << n;
    }
    EXPECT_EQ(Picture(kSuperFigure, counter), "####/.#.#/.#.#/####");
    // Every conversion counts its cells again (the next figure once as next, once falling).
    EXPECT_EQ(counter, 7 * 4 + 12);
}

TEST(Figures, AChoiceWarmsUpByTheClockAndOneInFiftyIsSpecialWithARandomPattern) {
    ScriptedRandom rnd;
    FixedClock clock;
    clock.seconds = 7;
    FigureChooser chooser(rnd, clock);
    rnd.script = std::deque<float>(15, 0.9f);  // 2s + 1 discarded
    rnd.Push({3.5f / 7, 0.49f});               // shape 3; Int(24.5) = 24: ordinary
    EXPECT_EQ(chooser.Choose_Figure(), "0000010001100010");
    EXPECT_EQ(rnd.draws, 17);

    clock.seconds = 0;
    rnd.fallback = 0.5f;
    for (float m : {0.48f, 0.5f, 0.5199f, 0.5201f}) {  // only Int(m * 50) = 25 is special
        rnd.script = {0.0f, 0.0f, m};
        chooser.Choose_Figure();
        EXPECT_EQ(chooser.NewIsVorblin, m == 0.5f || m == 0.5199f) << m;
        EXPECT_EQ(chooser.NewBonus, chooser.NewIsVorblin ? kSuperBonus : 0) << m;  // no cell: super
    }

    // A special figure's pattern: s + 1 more warm-up draws, then one draw per cell.
    clock.seconds = 3;
    rnd.script = std::deque<float>(7, 0.1f);         // warm-up 2s + 1
    rnd.Push({0.0f, 0.5f, 0.3f, 0.3f, 0.3f, 0.3f});  // shape, Int(25), warm-up s + 1
    // One filled cell (row 0 of column 1): a single-cell figure is valid.
    for (int k = 0; k < 16; ++k)
        rnd.Push({k == 4 ? 0.8f : 0.79f});
    rnd.Push({0.99999994f});  // bonus 50000.9988 -> 50001
    EXPECT_EQ(chooser.Choose_Figure(), "0000100000000000");
    EXPECT_TRUE(chooser.NewIsVorblin);
    EXPECT_EQ(chooser.NewBonus, 50001);
    EXPECT_EQ(rnd.draws, 17 + (4 * 3 + 2 * 17) + 7 + 2 + 4 + 16 + 1);

    rnd.script = std::deque<float>(7, 0.1f);
    rnd.Push({0.0f, 0.5f});
    rnd.fallback = 0.0f;  // every cell empty
    EXPECT_EQ(chooser.Choose_Figure(), kSuperFigure);
    EXPECT_EQ(chooser.NewBonus, kSuperBonus);
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

TEST(Figures, TheClockGivesTheSecondsOfTheTimeOfDayAndTheDate) {
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
