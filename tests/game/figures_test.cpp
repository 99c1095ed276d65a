#include <gtest/gtest.h>

#include <set>

#include "game/figures.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::FixedClock;
using testing::ScriptedRandom;

// The figure as rows 0..3 of its box, each row columns 0..3, '#' filled.
std::string Picture(const FigureMatrix& m) {
    std::string text;
    for (int b = 0; b < 4; ++b) {
        for (int a = 0; a < 4; ++a)
            text += m(a, b) ? '#' : '.';
        text += b < 3 ? "/" : "";
    }
    return text;
}

TEST(ShapeStrings, AreReadColumnByColumn) {
    FigureMatrix m;
    int16_t counter = 0;
    Initialize_Array_For_Brikko(m, "0000111100000000", counter);
    EXPECT_EQ(Picture(m), ".#../.#../.#../.#..");

    const char* expected[] = {".##./.#../.#../....", "..../.#../.#../.##.", ".#../.#../.#../.#..",
                              "..../.##./..##/....", "..../..##/.##./....", "..../..#./.##./..#.",
                              "..../.##./.##./...."};
    for (size_t i = 0; i < kOrdinaryShapes.size(); ++i) {
        Initialize_Array_For_Brikko(m, kOrdinaryShapes[i], counter);
        EXPECT_EQ(Picture(m), expected[i]) << "shape " << i;
        EXPECT_EQ(m.FilledCount(), 4) << "shape " << i;
    }
    Initialize_Array_For_Brikko(m, kSuperFigure, counter);
    EXPECT_EQ(Picture(m), "####/.#.#/.#.#/####");
}

TEST(ShapeStrings, EveryConversionCountsItsCellsAgain) {
    FigureMatrix figura, next;
    int16_t CellCounter = 0;
    Initialize_Array_For_Brikko(next, "0000011100010000", CellCounter);
    Initialize_Array_For_Brikko(figura, "0000011100010000", CellCounter);
    EXPECT_EQ(CellCounter, 8);  // the next figure is counted once more when it falls
    Initialize_Array_For_Brikko(figura, kSuperFigure, CellCounter);
    EXPECT_EQ(CellCounter, 20);
}

TEST(FigureChoice, OrdinaryFigureTakesWarmUpThenTwoDraws) {
    ScriptedRandom rnd;
    FixedClock clock;
    clock.seconds = 7;
    FigureChooser chooser(rnd, clock);
    std::deque<float> script(15, 0.9f);  // 2s + 1 discarded
    script.push_back(3.5f / 7);          // Fix(3.5) = 3
    script.push_back(0.49f);             // Int(24.5) = 24: not special
    rnd.script = script;
    EXPECT_EQ(chooser.Choose_Figure(), kOrdinaryShapes[3]);
    EXPECT_EQ(rnd.draws, 17);
    EXPECT_EQ(chooser.NewBonus, 0);
    EXPECT_FALSE(chooser.NewIsVorblin);
    EXPECT_EQ(clock.reads, 1);
}

TEST(FigureChoice, VorblinFigureDrawsItsPatternAndBonus) {
    ScriptedRandom rnd;
    FixedClock clock;
    clock.seconds = 3;
    FigureChooser chooser(rnd, clock);
    std::deque<float> script(7, 0.1f);  // warm-up 2s + 1
    script.push_back(0.0f);             // shape 0, replaced
    script.push_back(0.5f);             // Int(25) = 25: special
    for (int i = 0; i < 4; ++i)
        script.push_back(0.3f);  // warm-up s + 1
    // Sixteen cells, one filled (row 0 of column 1): a single-cell figure is valid.
    for (int k = 0; k < 16; ++k)
        script.push_back(k == 4 ? 0.8f : 0.79f);
    script.push_back(0.99999994f);  // bonus 50000.9988 -> 50001
    rnd.script = script;
    EXPECT_EQ(chooser.Choose_Figure(), "0000100000000000");
    EXPECT_TRUE(chooser.NewIsVorblin);
    EXPECT_EQ(chooser.NewBonus, 50001);
    EXPECT_EQ(rnd.draws, 7 + 2 + 4 + 16 + 1);

    rnd.script = std::deque<float>(7, 0.1f);
    rnd.Push({0.0f, 0.5f, 0, 0, 0, 0});
    rnd.fallback = 0.0f;  // every cell empty
    EXPECT_EQ(chooser.Choose_Figure(), kSuperFigure);
    EXPECT_EQ(chooser.NewBonus, kSuperBonus);
    EXPECT_TRUE(chooser.NewIsVorblin);
}

TEST(FigureChoice, OnlyDrawTwentyFiveMakesASpecialFigure) {
    ScriptedRandom rnd;
    FixedClock clock;
    FigureChooser chooser(rnd, clock);
    for (float m : {0.48f, 0.5f, 0.5199f, 0.5201f, 0.0f, 0.99f}) {
        rnd.script = {0.0f, 0.0f, m};
        rnd.fallback = 0.5f;
        chooser.Choose_Figure();
        EXPECT_EQ(chooser.NewIsVorblin, m == 0.5f || m == 0.5199f) << m;
    }
}

TEST(FigureChoice, QueueShiftsForwardAndAppendsANewFigure) {
    ScriptedRandom rnd;
    FixedClock clock;
    FigureChooser chooser(rnd, clock);
    FigureQueue queue;
    for (int i = 1; i <= 5; ++i) {
        queue(i).Shape = kOrdinaryShapes[static_cast<size_t>(i)];
        queue(i).Bonus = i;
    }
    rnd.script = {0.0f, 6.5f / 7, 0.0f};
    queue.Shift_Queue(chooser);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(queue(i).Shape, kOrdinaryShapes[static_cast<size_t>(i + 1)]);
        EXPECT_EQ(queue(i).Bonus, i + 1);
    }
    EXPECT_EQ(queue(5).Shape, kOrdinaryShapes[6]);
    EXPECT_EQ(queue(5).Bonus, 0);
}

TEST(Generator, RepeatsItsSequenceAndStaysInRange) {
    Lcg24Random a, b;
    std::set<int> deciles;
    double sum = 0;
    for (int i = 0; i < 200000; ++i) {
        const float x = a.Rnd();
        ASSERT_EQ(x, b.Rnd());
        ASSERT_GE(x, 0.0f);
        ASSERT_LT(x, 1.0f);
        deciles.insert(static_cast<int>(x * 10));
        sum += x;
    }
    EXPECT_EQ(deciles.size(), 10u);
    EXPECT_NEAR(sum / 200000, 0.5, 0.01);
}

}  // namespace
}  // namespace vorblin
