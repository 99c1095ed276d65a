#include <gtest/gtest.h>

#include <map>

#include "game/numbers.h"
#include "scoring/demo.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

TEST(Demo, FrequenciesOverManyTicksAreSevenEightFourTwoTwo) {
    testing::GameRig rig;
    rig.game.Form_Load();
    Demo demo(rig.rnd);
    // An even sweep of draws: the weights come from rounding Rnd * 23.
    constexpr int kTicks = 23000;
    std::map<DemoAction, int> counts;
    for (int i = 0; i < kTicks; ++i) {
        const float x = (static_cast<float>(i) + 0.5f) / kTicks;
        rig.rnd.Push({0.5f, x});
        if (DemoActionFor(RoundHalfEven(static_cast<double>(x) * 23)) == DemoAction::Drop)
            rig.rnd.Push({0.5f});  // a drop draws once more, for its sound
        ++counts[demo.tmrDemo_Timer(rig.game)];
        rig.game.board.PosX = 9;
    }
    EXPECT_EQ(counts[DemoAction::Left], 7000);
    EXPECT_EQ(counts[DemoAction::Right], 8000);
    EXPECT_EQ(counts[DemoAction::Rotate], 4000);
    EXPECT_EQ(counts[DemoAction::Drop], 2000);
    EXPECT_EQ(counts[DemoAction::Invert], 2000);
}

TEST(Demo, TickRestoresColoursKeepsItsTimerAliveAndSparesAPausedGame) {
    testing::GameRig rig;
    Game& g = rig.game;
    g.Form_Load();
    Demo demo(rig.rnd);
    g.pad.cmdRotate.BackColor = kYellow;
    rig.rnd.Push({0.5f, 1.0f / 23});  // 375 ms, r = 1: left
    EXPECT_EQ(demo.tmrDemo_Timer(g), DemoAction::Left);
    EXPECT_EQ(demo.tmrDemo.Interval, 375);
    EXPECT_EQ(g.pad.cmdRotate.BackColor, g.pad.ColorButtons);
    EXPECT_EQ(g.pad.cmdLeftRight[0].BackColor, kGreen);  // no mouse-up in the demo
    EXPECT_EQ(g.board.PosX, 8);

    rig.rnd.Push({0.0f, 20.0f / 23});  // a zero draw: the timer goes on at 1 ms
    EXPECT_EQ(demo.tmrDemo_Timer(g), DemoAction::Drop);
    EXPECT_EQ(demo.tmrDemo.Interval, 1);
    EXPECT_TRUE(g.pad.bDrop);

    g.Set_chkPause(1);
    const int draws = rig.rnd.draws;
    rig.rnd.Push({0.5f, 1.0f / 23});
    EXPECT_EQ(demo.tmrDemo_Timer(g), DemoAction::None);
    EXPECT_EQ(rig.rnd.draws, draws + 2);  // the draws still advance the sequence
    EXPECT_EQ(g.board.PosX, 8);
}

}  // namespace
}  // namespace vorblin
