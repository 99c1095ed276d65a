#include <gtest/gtest.h>

#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::GameRig;

constexpr const char* kBar = "0000111100000000";

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.game.Form_Load();
        rig.game.board.Reset();
        rig.SetFigure(kBar, 8, 10);  // bar in column 9
        rig.sound.played.clear();
        rig.well.ops.clear();
    }
    Game& g() { return rig.game; }
    GameRig rig;
};

TEST_F(InputTest, ArrowKeysMoveAndColourTheButtonsUntilReleased) {
    g().Form_KeyDown(kKeyLeft);
    EXPECT_EQ(g().board.PosX, 7);
    EXPECT_EQ(g().pad.cmdLeftRight[0].BackColor, kGreen);
    EXPECT_EQ(rig.sound.played, std::vector<Channel>{Channel::mLeft1});
    EXPECT_EQ(rig.well.Count("outline"), 4);  // redrawn at once
    g().Form_KeyDown(kKeyRight);
    g().Form_KeyDown(kKeyRight);
    EXPECT_EQ(g().board.PosX, 9);
    EXPECT_EQ(rig.sound.played.back(), Channel::mRight1);
    // Releasing either arrow restores both buttons and hands the focus to the well.
    g().Form_KeyUp(kKeyLeft);
    EXPECT_EQ(g().pad.cmdLeftRight[0].BackColor, g().pad.ColorButtons);
    EXPECT_EQ(g().pad.cmdLeftRight[2].BackColor, g().pad.ColorButtons);
    EXPECT_EQ(rig.shell.focusWell, 1);
}

TEST_F(InputTest, ARefusedMoveStillColoursTheButtonButIsSilent) {
    rig.SetFigure(kBar, 3, 10);  // against the left wall
    g().cmdLeftRight_MouseDown(0);
    EXPECT_EQ(g().board.PosX, 3);
    EXPECT_EQ(g().pad.cmdLeftRight[0].BackColor, kGreen);
    EXPECT_TRUE(rig.sound.played.empty());
    EXPECT_EQ(rig.well.ops.size(), 0u);
}

TEST_F(InputTest, RotationPlaysItsSoundEvenWhenRefused) {
    rig.SetFigure(kBar, 3, 10);
    const FigureMatrix before = g().board.Figura;
    g().Form_KeyDown(kKeyUp);
    EXPECT_EQ(g().board.Figura, before);
    EXPECT_EQ(rig.sound.played, std::vector<Channel>{Channel::mRotate1});
    EXPECT_EQ(g().pad.cmdRotate.BackColor, kYellow);
    g().Form_KeyUp(kKeyUp);
    EXPECT_EQ(g().pad.cmdRotate.BackColor, g().pad.ColorButtons);
    rig.SetFigure(kBar, 8, 10);
    g().Form_KeyDown(kKeyUp);
    EXPECT_NE(g().board.Figura, before);
}

TEST_F(InputTest, SpaceInvertsOnlyWhereTheBoxFits) {
    g().Form_KeyDown(kKeySpace);
    EXPECT_EQ(g().board.Figura.FilledCount(), 12);
    EXPECT_EQ(g().pad.cmdSpace.BackColor, kYellow);
    EXPECT_EQ(rig.sound.played, std::vector<Channel>{Channel::mInverse1});
    rig.SetFigure(kBar, 3, 10);
    g().Form_KeyDown(kKeySpace);
    EXPECT_EQ(g().board.Figura.FilledCount(), 4);
    EXPECT_EQ(rig.sound.played.size(), 1u);
    g().Form_KeyUp(kKeySpace);
    EXPECT_EQ(g().pad.cmdSpace.BackColor, g().pad.ColorButtons);
}

TEST_F(InputTest, DownDropsOnceAndItsReleaseChangesNothing) {
    rig.rnd.Push({0.6f, 0.1f});
    g().Form_KeyDown(kKeyDown);
    g().Form_KeyDown(kKeyDown);  // the button is disabled now
    EXPECT_TRUE(g().pad.bDrop);
    EXPECT_FALSE(g().pad.cmdDown.Enabled);
    EXPECT_EQ(g().pad.cmdDown.BackColor, kBlack);
    EXPECT_EQ(rig.sound.played, std::vector<Channel>{Channel::mDrop1});
    g().Form_KeyUp(kKeyDown);
    EXPECT_EQ(g().pad.cmdDown.BackColor, kBlack);
    EXPECT_EQ(rig.shell.focusWell, 0);
    g().cmdDown_MouseUp();
    EXPECT_EQ(rig.shell.focusWell, 1);
    // The second variant when the draw is not above one half.
    g().pad.cmdDown.Enabled = true;
    g().Form_KeyDown(kKeyDown);
    EXPECT_EQ(rig.sound.played.back(), Channel::mDrop2);
}

TEST_F(InputTest, EscapePausesAndMinimisesThenResumes) {
    g().Form_KeyDown(kKeyEscape);
    EXPECT_EQ(g().pad.chkPause.Value, 1);
    EXPECT_FALSE(g().pad.fraControl.Visible);
    EXPECT_FALSE(g().tmrDown.Enabled);
    EXPECT_FALSE(g().pad.EnableControls);
    EXPECT_FALSE(g().pad.bEscape);
    EXPECT_EQ(rig.shell.minimized, 1);
    // The game keys do nothing while paused.
    for (int16_t key : {kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeySpace})
        g().Form_KeyDown(key);
    EXPECT_EQ(g().board.PosX, 8);
    EXPECT_EQ(g().board.Figura.FilledCount(), 4);
    EXPECT_FALSE(g().pad.bDrop);
    EXPECT_TRUE(rig.sound.played.empty());
    g().Form_KeyDown(kKeyEscape);
    EXPECT_EQ(g().pad.chkPause.Value, 0);
    EXPECT_TRUE(g().pad.fraControl.Visible);
    EXPECT_TRUE(g().tmrDown.Enabled);
    EXPECT_TRUE(g().pad.EnableControls);
    EXPECT_EQ(rig.shell.restored, 1);
    EXPECT_EQ(rig.shell.focusWell, 2);

    // Pausing with the button never minimises.
    g().Set_chkPause(1);
    EXPECT_EQ(rig.shell.minimized, 1);
    EXPECT_FALSE(g().tmrDown.Enabled);
}

TEST_F(InputTest, OtherKeysDoNothing) {
    const Board before = g().board;
    for (int16_t key : {0, 13, 65, 36, 41, 255}) {
        g().Form_KeyDown(key);
        g().Form_KeyUp(key);
    }
    EXPECT_EQ(g().board.PosX, before.PosX);
    EXPECT_EQ(g().board.Figura, before.Figura);
    EXPECT_TRUE(rig.sound.played.empty());
    EXPECT_EQ(rig.shell.focusWell, 0);
}

TEST(EventSounds, PlayByNumber) {
    testing::RecordingSound sound;
    for (uint8_t code = 0; code <= 9; ++code)
        Play_Event_Sound(sound, code);
    EXPECT_EQ(sound.played,
              (std::vector<Channel>{Channel::mVorblin1, Channel::mDown1, Channel::mLeft1,
                                    Channel::mRight1, Channel::mRotate1, Channel::mDrop1,
                                    Channel::mDelLin1}));
}

}  // namespace
}  // namespace vorblin
