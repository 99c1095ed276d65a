#include <gtest/gtest.h>

#include "game/figures.h"
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

TEST(ShapeStrings, AreReadColumnByColumnAndCountedAtEveryConversion) {
    int16_t counter = 0;
    EXPECT_EQ(Picture("0000111100000000", counter), ".#../.#../.#../.#..");
    const char* expected[] = {".##./.#../.#../....", "..../.#../.#../.##.", ".#../.#../.#../.#..",
                              "..../.##./..##/....", "..../..##/.##./....", "..../..#./.##./..#.",
                              "..../.##./.##./...."};
    for (size_t i = 0; i < kOrdinaryShapes.size(); ++i)
        EXPECT_EQ(Picture(kOrdinaryShapes[i], counter), expected[i]) << "shape " << i;
    EXPECT_EQ(Picture(kSuperFigure, counter), "####/.#.#/.#.#/####");
    // The next figure is counted once as next and again when it falls.
    EXPECT_EQ(counter, 4 + 7 * 4 + 12);
}

TEST(FigureChoice, WarmsUpByTheClockThenDrawsShapeAndChance) {
    ScriptedRandom rnd;
    FixedClock clock;
    clock.seconds = 7;
    FigureChooser chooser(rnd, clock);
    rnd.script = std::deque<float>(15, 0.9f);  // 2s + 1 discarded
    rnd.Push({3.5f / 7, 0.49f});               // shape 3; Int(24.5) = 24: ordinary
    EXPECT_EQ(chooser.Choose_Figure(), kOrdinaryShapes[3]);
    EXPECT_EQ(rnd.draws, 17);
    EXPECT_EQ(chooser.NewBonus, 0);
    EXPECT_FALSE(chooser.NewIsVorblin);

    clock.seconds = 0;
    for (float m : {0.48f, 0.5f, 0.5199f, 0.5201f}) {  // only Int(m * 50) = 25 is special
        rnd.script = {0.0f, 0.0f, m};
        rnd.fallback = 0.5f;
        chooser.Choose_Figure();
        EXPECT_EQ(chooser.NewIsVorblin, m == 0.5f || m == 0.5199f) << m;
    }
}

TEST(FigureChoice, VorblinPatternsAndTheSuperFigure) {
    ScriptedRandom rnd;
    FixedClock clock;
    clock.seconds = 3;
    FigureChooser chooser(rnd, clock);
    rnd.script = std::deque<float>(7, 0.1f);         // warm-up 2s + 1
    rnd.Push({0.0f, 0.5f, 0.3f, 0.3f, 0.3f, 0.3f});  // shape, Int(25), warm-up s + 1
    // One filled cell (row 0 of column 1): a single-cell figure is valid.
    for (int k = 0; k < 16; ++k)
        rnd.Push({k == 4 ? 0.8f : 0.79f});
    rnd.Push({0.99999994f});  // bonus 50000.9988 -> 50001
    EXPECT_EQ(chooser.Choose_Figure(), "0000100000000000");
    EXPECT_TRUE(chooser.NewIsVorblin);
    EXPECT_EQ(chooser.NewBonus, 50001);
    EXPECT_EQ(rnd.draws, 7 + 2 + 4 + 16 + 1);

    rnd.script = std::deque<float>(7, 0.1f);
    rnd.Push({0.0f, 0.5f});
    rnd.fallback = 0.0f;  // every cell empty
    EXPECT_EQ(chooser.Choose_Figure(), kSuperFigure);
    EXPECT_EQ(chooser.NewBonus, kSuperBonus);
}

}  // namespace
}  // namespace vorblin
