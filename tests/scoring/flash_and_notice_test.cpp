#include <gtest/gtest.h>

#include "game/numbers.h"
#include "scoring/score_board.h"
#include "scoring/vorblin_notice.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::RecordingSound;
using testing::ScriptedRandom;

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(Shown(25), 2);
    EXPECT_EQ(Shown(35), 4);
    EXPECT_EQ(Shown(4282), 428);
    EXPECT_EQ(Shown(50001), 5000);
    EXPECT_EQ(Shown(-15), -2);
    EXPECT_EQ(Fix(-2.7), -2);
    EXPECT_EQ(Int(-2.2), -3);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
}

TEST(LevelFlash, ShowsTenRandomColoursThenTheLevelColour) {
    ScoreBoard scores;
    ScriptedRandom rnd;
    scores.Level = 3;
    scores.tmrLevel.Enabled = true;
    // Rnd * 15 rounded: 0.45 -> 0, 0.51 -> 1, 14.85 -> 15.
    rnd.Push({0.03f, 0.034f, 0.99f});
    scores.tmrLevel_Timer(rnd);
    EXPECT_EQ(scores.lblLevel.ForeColor, QBColor(0));
    scores.tmrLevel_Timer(rnd);
    EXPECT_EQ(scores.lblLevel.ForeColor, QBColor(1));
    scores.tmrLevel_Timer(rnd);
    EXPECT_EQ(scores.lblLevel.ForeColor, QBColor(15));
    for (int tick = 4; tick <= 10; ++tick)
        scores.tmrLevel_Timer(rnd);
    EXPECT_TRUE(scores.tmrLevel.Enabled);
    scores.tmrLevel_Timer(rnd);
    EXPECT_FALSE(scores.tmrLevel.Enabled);
    EXPECT_EQ(scores.lblLevel.ForeColor, QBColor(4));
    EXPECT_EQ(scores.LevelFlashCount, 0);
}

TEST(LineFlash, BlinksTheLastCountAndRestartsOnANewRemoval) {
    ScoreBoard scores;
    scores.ScoreRemovedLines(2);
    ASSERT_TRUE(scores.tmrMigCountLines.Enabled);
    const Colour expected[] = {kBlack, kYellow, kBlack, kYellow, kBlack};
    for (Colour colour : expected) {
        scores.tmrMigCountLines_Timer();
        EXPECT_EQ(scores.lblCountLines[2].ForeColor, colour);
    }
    // A removal while it blinks: every label yellow, the count starts over, new label.
    scores.ScoreRemovedLines(1);
    EXPECT_EQ(scores.LineFlashCount, 0);
    EXPECT_EQ(scores.lblCountLines[2].ForeColor, kYellow);
    for (int tick = 1; tick <= 5; ++tick)
        scores.tmrMigCountLines_Timer();
    EXPECT_TRUE(scores.tmrMigCountLines.Enabled);
    EXPECT_EQ(scores.lblCountLines[1].ForeColor, kBlack);
    scores.tmrMigCountLines_Timer();
    EXPECT_FALSE(scores.tmrMigCountLines.Enabled);
    EXPECT_EQ(scores.lblCountLines[1].ForeColor, kYellow);
    EXPECT_EQ(scores.lblCountLines[2].ForeColor, kYellow);
}

TEST(SpecialFigureNotice, AnnouncesBonusColourAndLogLine) {
    VorblinNotice notice;
    RecordingSound sound;
    ListBox stats;
    Label score{"---"};

    notice.Show_Vorblin_Bonus(FiguraInfo{"0000111100000000", 0, false}, score, sound, stats);
    EXPECT_EQ(notice.ColorFigura, kCyan);
    EXPECT_FALSE(notice.lblFirma.Visible);
    EXPECT_TRUE(stats.Items.empty());

    notice.Show_Vorblin_Bonus(FiguraInfo{"1000000000000001", 50001, true}, score, sound, stats);
    EXPECT_TRUE(sound.played.empty());  // nothing before the first landing
    EXPECT_TRUE(notice.lblFirma.Visible);
    EXPECT_EQ(notice.ColorFigura, kRed);
    EXPECT_EQ(notice.lblFirma.Caption, "Vorblin-фигурка Bonus 5000");
    EXPECT_EQ(notice.lblFirma.ForeColor, kCyan);

    score.Caption = "0";
    notice.Show_Vorblin_Bonus(FiguraInfo{"1000000000000001", 42165, true}, score, sound, stats);
    EXPECT_EQ(notice.lblFirma.Caption, "Vorblin-фигурка Bonus 4216");  // 4216.5, to even
    EXPECT_EQ(sound.played, std::vector<Channel>{Channel::mVorblin1});

    notice.Show_Vorblin_Bonus(FiguraInfo{kSuperFigure, kSuperBonus, true}, score, sound, stats);
    EXPECT_EQ(notice.ColorFigura, kBlue);
    EXPECT_EQ(notice.lblFirma.ForeColor, kBlue);
    EXPECT_EQ(notice.lblFirma.Caption, "This Is Vorblin Bonus 25000");
    EXPECT_EQ(stats.Items,
              (std::vector<std::string>{"...Vorblin", "...Vorblin", "...SUPER VORBLIN !!!"}));
}

TEST(SpecialFigureNotice, IsClearedByTheLoadWhenTheGameStartsWithOne) {
    testing::GameRig rig;
    // Warm-up, colour, then figures 1 and 2: the second is special (m = 25).
    rig.rnd.Push({0, 0, 0, 0, 0});
    rig.rnd.Push({0, 0, 0.5f, 0});
    for (int k = 0; k < 16; ++k)
        rig.rnd.Push({k < 4 ? 0.9f : 0.1f});
    rig.rnd.Push({0.5f});  // bonus 40000.5 -> 40000
    rig.game.Form_Load();
    EXPECT_TRUE(rig.game.Queue(2).IsVorblin);
    EXPECT_EQ(rig.game.Queue(2).Bonus, 40000);
    EXPECT_TRUE(rig.game.notice.lblFirma.Visible);
    EXPECT_EQ(rig.game.notice.lblFirma.Caption, "Vorblin-фигурка Bonus 4000");
    EXPECT_TRUE(rig.sound.played.empty());
    EXPECT_TRUE(rig.game.lstStatistic.Items.empty());  // the load clears the log after it
}

}  // namespace
}  // namespace vorblin
