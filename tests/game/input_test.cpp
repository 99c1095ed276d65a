#include <gtest/gtest.h>

#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::GameRig;

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.game.Form_Load();
        rig.game.board.Reset();
        rig.SetFigure("0000111100000000", 3, 10);  // a bar against the left wall
        rig.sound.played.clear();
        rig.well.ops.clear();
    }
    GameRig rig;
    Game& g = rig.game;
    std::vector<Channel>& played = rig.sound.played;
};

TEST_F(InputTest, RefusedMovesAndTurnsKeepTheirButtonColourAndRotationSound) {
    g.Form_KeyDown(kKeyLeft);
    EXPECT_EQ(g.board.PosX, 3);
    EXPECT_EQ(g.pad.cmdLeftRight[0].BackColor, kGreen);
    EXPECT_TRUE(played.empty());
    EXPECT_TRUE(rig.well.ops.empty());
    const FigureMatrix before = g.board.Figura;
    g.Form_KeyDown(kKeyUp);  // its horizontal form would reach column 3
    EXPECT_EQ(g.board.Figura, before);
    EXPECT_EQ(played, std::vector<Channel>{Channel::mRotate1});
    g.Form_KeyDown(kKeySpace);  // the box reaches column 3
    EXPECT_EQ(g.board.Figura.FilledCount(), 4);
    EXPECT_EQ(g.pad.cmdSpace.BackColor, kYellow);
    EXPECT_EQ(played.size(), 1u);

    // Releasing either arrow restores both move buttons and hands the focus back.
    g.pad.cmdLeftRight[2].BackColor = kGreen;
    g.Form_KeyUp(kKeyRight);
    EXPECT_EQ(g.pad.cmdLeftRight[0].BackColor, g.pad.ColorButtons);
    EXPECT_EQ(g.pad.cmdLeftRight[2].BackColor, g.pad.ColorButtons);
    EXPECT_EQ(rig.shell.focusWell, 1);
}

TEST_F(InputTest, AllowedActionsPlayTheirSoundsAndRedraw) {
    g.Form_KeyDown(kKeyRight);
    g.Form_KeyDown(kKeySpace);
    g.Form_KeyDown(kKeyLeft);  // the inverted box fills column 0: no room on the left
    g.Form_KeyDown(kKeyRight);
    EXPECT_EQ(g.board.PosX, 5);
    EXPECT_EQ(g.board.Figura.FilledCount(), 12);
    EXPECT_EQ(played,
              (std::vector<Channel>{Channel::mRight1, Channel::mInverse1, Channel::mRight1}));
    EXPECT_EQ(rig.well.Count("outline"), 4 + 12 + 12);
}

TEST_F(InputTest, DownDropsOnceAndItsReleaseChangesNothing) {
    rig.rnd.Push({0.6f, 0.1f});
    g.Form_KeyDown(kKeyDown);
    g.Form_KeyDown(kKeyDown);  // the button is disabled now
    EXPECT_TRUE(g.pad.bDrop);
    EXPECT_FALSE(g.pad.cmdDown.Enabled);
    EXPECT_EQ(played, std::vector<Channel>{Channel::mDrop1});
    g.Form_KeyUp(kKeyDown);
    EXPECT_EQ(g.pad.cmdDown.BackColor, kBlack);
    EXPECT_EQ(rig.shell.focusWell, 0);
    g.pad.cmdDown.Enabled = true;
    g.Form_KeyDown(kKeyDown);  // a draw not above one half: the second sound
    EXPECT_EQ(played.back(), Channel::mDrop2);
}

TEST_F(InputTest, EscapePausesAndMinimisesWhileThePauseButtonOnlyPauses) {
    rig.SetFigure("0000111100000000", 8, 10);
    g.Form_KeyDown(kKeyEscape);
    EXPECT_EQ(g.pad.chkPause.Value, 1);
    EXPECT_FALSE(g.pad.fraControl.Visible);
    EXPECT_FALSE(g.tmrDown.Enabled);
    EXPECT_FALSE(g.pad.bEscape);
    EXPECT_EQ(rig.shell.minimized, 1);
    for (int key : {37, 39, 38, 40, 32, 65})  // the game keys and one other
        g.Form_KeyDown(static_cast<int16_t>(key));
    EXPECT_EQ(g.board.PosX, 8);
    EXPECT_FALSE(g.pad.bDrop);
    EXPECT_TRUE(played.empty());
    g.Form_KeyDown(kKeyEscape);
    EXPECT_TRUE(g.pad.fraControl.Visible && g.tmrDown.Enabled && g.pad.EnableControls);
    EXPECT_EQ(rig.shell.restored, 1);
    g.Set_chkPause(1);
    EXPECT_EQ(rig.shell.minimized, 1);
}

TEST(EventSounds, PlayByNumber) {
    testing::RecordingSound sound;
    for (uint8_t code = 0; code <= 8; ++code)
        Play_Event_Sound(sound, code);
    EXPECT_EQ(sound.played,
              (std::vector<Channel>{Channel::mVorblin1, Channel::mDown1, Channel::mLeft1,
                                    Channel::mRight1, Channel::mRotate1, Channel::mDrop1,
                                    Channel::mDelLin1}));
}

}  // namespace
}  // namespace vorblin
