// The demonstration: the button each draw presses, the pace of its presses.
#include "core/session/demo.h"

#include <gtest/gtest.h>

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
    CommandButton* const buttons[] = {&pad.cmdLeftRight[0], &pad.cmdLeftRight[2], &pad.cmdRotate,
                                      &pad.cmdSpace};
    // Each tick draws the next interval, the button, and a drop its sound; it leaves the
    // action, the interval, the sound and the buttons that still look pressed.
    const std::vector<std::vector<float>> ticks = {{0.5f, 0.51f / 23},        {0.0f, 7.49f / 23},
                                                   {0.99999994f, 7.51f / 23}, {0.1f, 16.0f / 23},
                                                   {0.1f, 21.49f / 23, 0.9f}, {0.1f, 0.49f / 23},
                                                   {0.1f, 22.0f / 23}};
    std::string seen;
    for (const std::vector<float>& draws : ticks) {
        for (CommandButton* b : buttons)
            b->BackColor = kGreen;
        rig.rnd.script.assign(draws.begin(), draws.end());
        rig.sound.played.clear();
        seen += "-LRTDI"[static_cast<int>(demo.tmrDemo_Timer(g))];
        seen += std::to_string(demo.tmrDemo.Interval) + " ";
        for (Channel c : rig.sound.played)
            seen += std::to_string(static_cast<int>(c)) + " ";
        for (const CommandButton* b : buttons)
            seen += b->BackColor == QBColor(1) ? '.' : '#';
        seen += "|";
    }
    EXPECT_EQ(seen,
              "L375 1 #...|L1 1 #...|R750 2 .#..|T75 3 ..#.|D75 4 ....|I75 9 ...#|I75 9 ...#|");
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
