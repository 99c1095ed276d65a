#include <gtest/gtest.h>

#include "game/numbers.h"
#include "scoring/score_board.h"
#include "scoring/vorblin_notice.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbourAndFixTruncates) {
    EXPECT_EQ(Shown(25), 2);
    EXPECT_EQ(Shown(35), 4);
    EXPECT_EQ(Shown(-15), -2);
    EXPECT_EQ(Fix(-2.7), -2);
    EXPECT_EQ(Int(-2.2), -3);
}

TEST(LevelFlash, ShowsTenRandomColoursThenTheLevelColour) {
    ScoreBoard scores;
    testing::ScriptedRandom rnd;
    scores.Level = 3;
    scores.tmrLevel.Enabled = true;
    rnd.Push({0.03f, 0.034f, 0.99f});  // Rnd * 15 rounded: 0.45 -> 0, 0.51 -> 1, 14.85 -> 15
    for (Colour expected : {QBColor(0), QBColor(1), QBColor(15)}) {
        scores.tmrLevel_Timer(rnd);
        EXPECT_EQ(scores.lblLevel.ForeColor, expected);
    }
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
    for (Colour expected : {kBlack, kYellow, kBlack, kYellow, kBlack}) {
        scores.tmrMigCountLines_Timer();
        EXPECT_EQ(scores.lblCountLines[2].ForeColor, expected);
    }
    scores.ScoreRemovedLines(1);  // every label yellow, the count starts over, new label
    EXPECT_EQ(scores.lblCountLines[2].ForeColor, kYellow);
    for (int tick = 1; tick <= 5; ++tick)
        scores.tmrMigCountLines_Timer();
    EXPECT_TRUE(scores.tmrMigCountLines.Enabled);
    EXPECT_EQ(scores.lblCountLines[1].ForeColor, kBlack);
    scores.tmrMigCountLines_Timer();
    EXPECT_FALSE(scores.tmrMigCountLines.Enabled);
    EXPECT_EQ(scores.lblCountLines[1].ForeColor, kYellow);
}

TEST(SpecialFigureNotice, AnnouncesBonusColourAndLogLine) {
    VorblinNotice notice;
    testing::RecordingSound sound;
    ListBox stats;
    Label score{"---"};
    notice.Show_Vorblin_Bonus(FiguraInfo{kOrdinaryShapes[2], 0, false}, score, sound, stats);
    EXPECT_EQ(notice.ColorFigura, kCyan);
    EXPECT_FALSE(notice.lblFirma.Visible);

    notice.Show_Vorblin_Bonus(FiguraInfo{"1000000000000001", 50001, true}, score, sound, stats);
    EXPECT_TRUE(sound.played.empty());  // nothing before the first landing
    EXPECT_TRUE(notice.lblFirma.Visible);
    EXPECT_EQ(notice.ColorFigura, kRed);
    EXPECT_EQ(notice.lblFirma.Caption, "Vorblin-фигурка Bonus 5000");

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

TEST(SpecialFigureNotice, AtTheStartItShowsSilentlyAndItsLogLineIsCleared) {
    testing::GameRig rig;
    // Warm-up, colour, figure 1; figure 2 is special (m = 25) with four filled cells.
    rig.rnd.Push({0, 0, 0, 0, 0, 0, 0, 0.5f, 0});
    for (int k = 0; k < 16; ++k)
        rig.rnd.Push({k < 4 ? 0.9f : 0.1f});
    rig.rnd.Push({0.5f});  // bonus 40000.5 -> 40000
    rig.game.Form_Load();
    EXPECT_EQ(rig.game.Queue(2).Bonus, 40000);
    EXPECT_TRUE(rig.game.notice.lblFirma.Visible);
    EXPECT_EQ(rig.game.notice.lblFirma.Caption, "Vorblin-фигурка Bonus 4000");
    EXPECT_TRUE(rig.sound.played.empty());
    EXPECT_TRUE(rig.game.lstStatistic.Items.empty());
}

}  // namespace
}  // namespace vorblin
