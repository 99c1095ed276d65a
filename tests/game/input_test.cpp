#include <gtest/gtest.h>

#include <algorithm>

#include "support/fakes.h"
#include "support/well_picture.h"

namespace vorblin {
namespace {

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g.Form_Load();
        rig.SetFigure("0000011100010000", 8, 10);  // shape 1: .... / .#.. / .#.. / .##.
        played.clear();
        rig.well.ops.clear();
    }
    // The well around the figure, columns 7 to 12 and rows 9 to 13, rows joined by '/'.
    std::string Shown() const {
        std::string text = rig.well.Cells(7, 9, 12, 13);
        std::replace(text.begin(), text.end(), '\n', '/');
        return text;
    }
    testing::GameRig rig;
    Game& g = rig.game;
    std::vector<Channel>& played = rig.sound.played;
};

TEST_F(InputTest, EachKeyPressesItsButtonActsAndRedrawsAndItsReleaseRestores) {
    const ControlPad& pad = g.pad;
    const struct {
        int16_t key;
        const CommandButton* button;
        Colour pressed;
        Channel sound;
        const char* well;
    } steps[] = {
        {kKeyLeft, &pad.cmdLeftRight[0], kGreen, Channel::mLeft1,
         "..... /..... /.o... /.o... /.oo.. /"},
        {kKeyRight, &pad.cmdLeftRight[2], kGreen, Channel::mRight1,
         "....../....../..o.../..o.../..oo../"},
        {kKeyUp, &pad.cmdRotate, kYellow, Channel::mRotate1, "....../....../.ooo../.o..../....../"},
        {kKeySpace, &pad.cmdSpace, kYellow, Channel::mInverse1,
         "....../.oooo./....o./..ooo./.oooo./"},
    };
    for (const auto& step : steps) {
        played.clear();
        g.Form_KeyDown(step.key);
        EXPECT_EQ(step.button->BackColor, step.pressed) << step.key;
        EXPECT_EQ(played, std::vector<Channel>{step.sound}) << step.key;
        EXPECT_EQ(Shown(), step.well) << step.key;
        const int focus = rig.shell.focusWell;
        g.Form_KeyUp(step.key);
        EXPECT_EQ(step.button->BackColor, QBColor(1)) << step.key;
        EXPECT_EQ(rig.shell.focusWell, focus + 1) << step.key;
    }
    g.Form_KeyDown(kKeyLeft);  // releasing either arrow restores both move buttons
    g.Form_KeyDown(kKeyRight);
    g.Form_KeyUp(kKeyLeft);
    EXPECT_EQ(testing::Seen(pad.cmdLeftRight[0].BackColor, pad.cmdLeftRight[2].BackColor),
              testing::Seen(QBColor(1), QBColor(1)));
}

TEST_F(InputTest, RefusedActionsStillColourTheButtonAndOnlyTheTurnSounds) {
    rig.SetFigure("0000111100000000", 3, 10);          // a bar against the left wall
    for (int16_t key : {kKeyLeft, kKeyUp, kKeySpace})  // the box reaches column 3
        g.Form_KeyDown(key);
    EXPECT_EQ(g.board.Figura, testing::BoardWith("0000111100000000", 3, 10).Figura);
    EXPECT_EQ(played, std::vector<Channel>{Channel::mRotate1});
    // The turn redraws the figure as it is.
    EXPECT_EQ(testing::Seen(int{g.board.PosX}, g.pad.cmdLeftRight[0].BackColor,
                            g.pad.cmdSpace.BackColor, rig.well.Count("outline")),
              testing::Seen(3, kGreen, kYellow, 4));
}

TEST_F(InputTest, DownDropsOnceAndItsReleaseOnlyHandsTheFocusBack) {
    rig.rnd.Push({0.50000006f, 0.5f});
    g.Form_KeyDown(kKeyDown);
    g.Form_KeyDown(kKeyDown);  // the button is disabled now
    EXPECT_EQ(played, std::vector<Channel>{Channel::mDrop1});
    g.Form_KeyUp(kKeyDown);
    g.cmdDown_MouseUp();
    EXPECT_EQ(testing::Seen(g.pad.bDrop, g.pad.cmdDown.Enabled, g.pad.cmdDown.BackColor,
                            rig.shell.focusWell),
              "1|0|0|1|");
    g.pad.cmdDown.Enabled = true;
    g.Form_KeyDown(kKeyDown);  // exactly one half is not above it: the second sound
    EXPECT_EQ(played.back(), Channel::mDrop2);
}

TEST_F(InputTest, EscapePausesAndMinimisesWhileThePauseButtonOnlyPauses) {
    rig.next.ops.clear();
    g.Form_KeyDown(kKeyEscape);
    // The figure and the next figure are redrawn on pausing and on resuming.
    EXPECT_EQ(testing::Seen(g.pad.chkPause.Value, g.pad.fraControl.Visible, g.tmrDown.Enabled,
                            g.pad.EnableControls, g.pad.bEscape, rig.next.Count("cls"), Shown()),
              "1|0|0|0|0|1|....../....../..o.../..o.../..oo../|");
    for (int key : {37, 39, 38, 40, 32, 65})  // the game keys and one other
        g.Form_KeyDown(static_cast<int16_t>(key));
    g.cmdSpace_MouseDown();
    EXPECT_EQ(
        testing::Seen(int{g.board.PosX}, g.board.Figura.FilledCount(), g.pad.bDrop, played.size()),
        "8|4|0|0|");
    rig.well.ops.clear();
    g.Form_KeyDown(kKeyEscape);
    EXPECT_EQ(testing::Seen(g.pad.fraControl.Visible, g.tmrDown.Enabled, g.pad.EnableControls,
                            rig.well.Count("outline"), rig.next.Count("cls")),
              "1|1|1|4|2|");
    g.Set_chkPause(1);  // minimised only by Esc, restored once, the focus back each time
    EXPECT_EQ(testing::Seen(rig.shell.minimized, rig.shell.restored, rig.shell.focusWell),
              "1|1|3|");
}

}  // namespace
}  // namespace vorblin
