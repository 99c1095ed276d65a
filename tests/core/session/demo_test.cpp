// The demonstration: the button each draw presses, the pace of its presses.
#include "core/session/demo.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace vorblin {
namespace {

using A = DemoAction;
using C = Channel;

// An action as a letter, so that a failure reads as the buttons do.
char Letter(A action) {
    const std::pair<A, char> letters[] = {{A::None, '-'},   {A::Left, 'L'}, {A::Right, 'R'},
                                          {A::Rotate, 'T'}, {A::Drop, 'D'}, {A::Invert, 'I'}};
    for (const auto& [a, letter] : letters)
        if (a == action)
            return letter;
    return '?';
}

TEST(Demo, EachDrawPressesItsButton) {
    // r = 0 to 23: invert, left 1-7, right 8-15, rotate 16-19, drop 20-21, invert 22-23.
    std::string pressed;
    for (int r = 0; r <= 23; ++r)
        pressed += Letter(DemoActionFor(r));
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
    // Each tick draws the interval, the button, and for a drop its sound.
    const struct {
        std::vector<float> draws;
        A action;
        int interval;
        C sound;
        int pressed;  // the one of the four buttons left coloured, -1 none
    } ticks[] = {
        {{0.5f, 0.51f / 23}, A::Left, 375, C::mLeft1, 0},
        {{0.0f, 7.49f / 23}, A::Left, 1, C::mLeft1, 0},  // never 0: that would stop it
        {{0.99999994f, 7.51f / 23}, A::Right, 750, C::mRight1, 1},
        {{0.1f, 16.0f / 23}, A::Rotate, 75, C::mRotate1, 2},
        {{0.1f, 21.49f / 23, 0.9f}, A::Drop, 75, C::mDrop1, -1},
        {{0.1f, 0.49f / 23}, A::Invert, 75, C::mInverse1, 3},
        {{0.1f, 22.0f / 23}, A::Invert, 75, C::mInverse1, 3},
    };
    for (const auto& t : ticks) {
        SCOPED_TRACE(t.interval);
        for (CommandButton* b : buttons)
            b->BackColor = kGreen;
        rig.rnd.script.assign(t.draws.begin(), t.draws.end());
        rig.sound.played.clear();
        EXPECT_EQ(Letter(demo.tmrDemo_Timer(g)), Letter(t.action));
        EXPECT_EQ(demo.tmrDemo.Interval, t.interval);
        EXPECT_EQ(rig.sound.played, std::vector<C>{t.sound});
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(buttons[i]->BackColor == QBColor(1), i != t.pressed) << i;
    }
    EXPECT_EQ(g.board.PosX, Board::kStartX - 1);  // left, left, right
    EXPECT_EQ(rig.shell.focusWell, 0);            // no mouse-up in the demonstration

    g.Set_chkPause(1);  // a paused game stays as it is, though the draws go on
    const int draws = rig.rnd.draws;
    rig.rnd.Push({0.5f, 1.0f / 23});
    EXPECT_EQ(Letter(demo.tmrDemo_Timer(g)), Letter(A::None));
    EXPECT_EQ(rig.rnd.draws, draws + 2);
    EXPECT_EQ(g.board.PosX, Board::kStartX - 1);
}

}  // namespace
}  // namespace vorblin
