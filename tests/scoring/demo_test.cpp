#include <gtest/gtest.h>

#include <map>

#include "game/numbers.h"
#include "scoring/demo.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

TEST(DemoActions, DrawsMapToButtonsWithTheirWeights) {
    std::map<DemoAction, int> counts;
    for (int r = 0; r <= 23; ++r)
        ++counts[DemoActionFor(r)];
    EXPECT_EQ(counts[DemoAction::Left], 7);
    EXPECT_EQ(counts[DemoAction::Right], 8);
    EXPECT_EQ(counts[DemoAction::Rotate], 4);
    EXPECT_EQ(counts[DemoAction::Drop], 2);
    EXPECT_EQ(counts[DemoAction::Invert], 3);  // 0 and 23 come half as often as 22
}

TEST(DemoActions, FrequenciesOverManyTicksApproachSevenEightFourTwoTwo) {
    testing::GameRig rig;
    rig.game.Form_Load();
    Demo demo(rig.rnd);
    // An even sweep of draws: the weights come from rounding Rnd * 23.
    constexpr int kTicks = 23000;
    std::map<DemoAction, int> counts;
    for (int i = 0; i < kTicks; ++i) {
        const float x = (static_cast<float>(i) + 0.5f) / kTicks;
        rig.rnd.Push({0.5f, x});
        // A drop draws once more, for its sound.
        if (DemoActionFor(RoundHalfEven(static_cast<double>(x) * 23)) == DemoAction::Drop)
            rig.rnd.Push({0.5f});
        ++counts[demo.tmrDemo_Timer(rig.game)];
        rig.game.board.PosX = 9;  // keep the figure in the middle so every press acts
        rig.game.pad.cmdDown.Enabled = true;
    }
    EXPECT_EQ(counts[DemoAction::Left], 7000);
    EXPECT_EQ(counts[DemoAction::Right], 8000);
    EXPECT_EQ(counts[DemoAction::Rotate], 4000);
    EXPECT_EQ(counts[DemoAction::Drop], 2000);
    EXPECT_EQ(counts[DemoAction::Invert], 2000);
}

TEST(DemoTick, RestoresColoursSetsAnIntervalAndPresses) {
    testing::GameRig rig;
    rig.game.Form_Load();
    Demo demo(rig.rnd);
    rig.game.pad.cmdRotate.BackColor = kYellow;
    rig.rnd.Push({0.5f, 1.0f / 23});  // 375 ms, r = 1: left
    EXPECT_EQ(demo.tmrDemo_Timer(rig.game), DemoAction::Left);
    EXPECT_EQ(demo.tmrDemo.Interval, 375);
    EXPECT_EQ(rig.game.pad.cmdRotate.BackColor, rig.game.pad.ColorButtons);
    EXPECT_EQ(rig.game.pad.cmdLeftRight[0].BackColor, kGreen);  // no mouse-up in the demo
    EXPECT_EQ(rig.game.board.PosX, 8);

    rig.rnd.Push({0.0f, 20.0f / 23});  // a zero draw: the timer keeps going at 1 ms
    EXPECT_EQ(demo.tmrDemo_Timer(rig.game), DemoAction::Drop);
    EXPECT_EQ(demo.tmrDemo.Interval, 1);
    EXPECT_EQ(rig.game.pad.cmdLeftRight[0].BackColor, rig.game.pad.ColorButtons);
    EXPECT_TRUE(rig.game.pad.bDrop);
}

TEST(DemoTick, LeavesAPausedGameAlone) {
    testing::GameRig rig;
    rig.game.Form_Load();
    Demo demo(rig.rnd);
    rig.game.Set_chkPause(1);
    const int draws = rig.rnd.draws;
    rig.rnd.Push({0.5f, 1.0f / 23});
    EXPECT_EQ(demo.tmrDemo_Timer(rig.game), DemoAction::None);
    EXPECT_EQ(rig.rnd.draws, draws + 2);  // the draws still advance the sequence
    EXPECT_EQ(rig.game.board.PosX, 9);
}

}  // namespace
}  // namespace vorblin
