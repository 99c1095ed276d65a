#include <gtest/gtest.h>

#include "scoring/demo.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

TEST(Demo, EachDrawPressesItsButton) {
    // r = 0 to 23: invert, left 1-7, right 8-15, rotate 16-19, drop 20-21, invert 22-23.
    std::string pressed;
    for (int r = 0; r <= 23; ++r)
        pressed += "-LRTDI"[static_cast<int>(DemoActionFor(r))];
    EXPECT_EQ(pressed, "ILLLLLLLRRRRRRRRTTTTDDII");
}

TEST(Demo, TicksRestoreTheButtonsWaitARandomTimeAndPressLikeTheMouse) {
    testing::GameRig rig;
    Game& g = rig.game;
    g.Form_Load();  // every draw 0: buttons in QBColor(1), figure of shape 0 at column 9
    Demo demo(rig.rnd);
    ControlPad& pad = g.pad;
    for (CommandButton* b :
         {&pad.cmdLeftRight[0], &pad.cmdLeftRight[2], &pad.cmdRotate, &pad.cmdSpace, &pad.cmdDown})
        b->BackColor = kGreen;
    struct Tick {
        std::initializer_list<float> draws;  // interval, button, and a drop's sound
        DemoAction action;
        int interval;
        Channel sound;
        const CommandButton* button;  // the one left pressed
    };
    const Tick ticks[] = {
        {{0.5f, 0.51f / 23}, DemoAction::Left, 375, Channel::mLeft1, &pad.cmdLeftRight[0]},
        {{0.0f, 7.49f / 23}, DemoAction::Left, 1, Channel::mLeft1, &pad.cmdLeftRight[0]},
        {{0.99999994f, 7.51f / 23}, DemoAction::Right, 750, Channel::mRight1, &pad.cmdLeftRight[2]},
        {{0.1f, 16.0f / 23}, DemoAction::Rotate, 75, Channel::mRotate1, &pad.cmdRotate},
        {{0.1f, 21.49f / 23, 0.9f}, DemoAction::Drop, 75, Channel::mDrop1, &pad.cmdDown},
        {{0.1f, 0.49f / 23}, DemoAction::Invert, 75, Channel::mInverse1, &pad.cmdSpace},
        {{0.1f, 22.0f / 23}, DemoAction::Invert, 75, Channel::mInverse1, &pad.cmdSpace},
    };
    for (const Tick& t : ticks) {
        rig.rnd.Push(t.draws);
        rig.sound.played.clear();
        EXPECT_EQ(demo.tmrDemo_Timer(g), t.action);
        EXPECT_EQ(demo.tmrDemo.Interval, t.interval);
        EXPECT_EQ(rig.sound.played, std::vector<Channel>{t.sound});
        for (const CommandButton* b :
             {&pad.cmdLeftRight[0], &pad.cmdLeftRight[2], &pad.cmdRotate, &pad.cmdSpace})
            EXPECT_EQ(b->BackColor == QBColor(1), b != t.button) << t.interval;
    }
    EXPECT_EQ(g.board.PosX, 8);         // left, left, right
    EXPECT_EQ(rig.shell.focusWell, 0);  // no mouse-up in the demonstration

    g.Set_chkPause(1);  // a paused game stays as it is, though the draws go on
    const int draws = rig.rnd.draws;
    rig.rnd.Push({0.5f, 1.0f / 23});
    EXPECT_EQ(demo.tmrDemo_Timer(g), DemoAction::None);
    EXPECT_EQ(rig.rnd.draws, draws + 2);
    EXPECT_EQ(g.board.PosX, 8);
}

}  // namespace
}  // namespace vorblin
