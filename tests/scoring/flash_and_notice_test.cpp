#include <gtest/gtest.h>

#include "scoring/score_board.h"
#include "scoring/vorblin_notice.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

TEST(LevelFlash, ShowsTenRandomColoursThenTheLevelColour) {
    ScoreBoard scores;
    testing::ScriptedRandom rnd;
    scores.Level = 3;
    scores.tmrLevel.Enabled = true;
    // Rnd * 15 rounded: 0.45 -> 0, 0.51 -> 1, 10.49 -> 10, 14.85 -> 15.
    rnd.Push({0.03f, 0.034f, 0.7f, 0.99f});
    for (Colour expected : {QBColor(0), QBColor(1), QBColor(10), QBColor(15)}) {
        scores.tmrLevel_Timer(rnd);
        EXPECT_EQ(scores.lblLevel.ForeColor, expected);
    }
    for (int run = 0; run < 2; ++run) {  // the count starts over for the next level
        scores.tmrLevel.Enabled = true;
        for (int tick = run == 0 ? 5 : 1; tick <= 10; ++tick)
            scores.tmrLevel_Timer(rnd);
        EXPECT_TRUE(scores.tmrLevel.Enabled);
        scores.tmrLevel_Timer(rnd);
        EXPECT_FALSE(scores.tmrLevel.Enabled);
        EXPECT_EQ(scores.lblLevel.ForeColor, QBColor(4));
    }
}

TEST(LineFlash, BlinksTheLastCountRestartsOnANewRemovalAndEndsYellow) {
    ScoreBoard scores;
    scores.ScoreRemovedLines(2);
    for (Colour expected : {kBlack, kYellow, kBlack, kYellow, kBlack}) {
        scores.tmrMigCountLines_Timer();
        EXPECT_EQ(scores.lblCountLines[2].ForeColor, expected);
    }
    scores.lblCountLines[4].ForeColor = kBlack;
    scores.ScoreRemovedLines(1);  // every label yellow, the count starts over, a new label
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(scores.lblCountLines[i].ForeColor, kYellow) << i;
    for (int run = 0; run < 2; ++run) {  // and once more after the flash has ended
        for (int tick = 1; tick <= 5; ++tick)
            scores.tmrMigCountLines_Timer();
        EXPECT_TRUE(scores.tmrMigCountLines.Enabled);
        EXPECT_EQ(scores.lblCountLines[1].ForeColor, kBlack);
        scores.tmrMigCountLines_Timer();
        EXPECT_FALSE(scores.tmrMigCountLines.Enabled);
        EXPECT_EQ(scores.lblCountLines[1].ForeColor, kYellow);
        scores.ScoreRemovedLines(1);
    }
}

TEST(SpecialFigureNotice, AnnouncesBonusColourAndLogLine) {
    VorblinNotice notice;
    testing::RecordingSound sound;
    ListBox stats;
    Label score{"---"};
    auto show = [&](const char* shape, int32_t bonus, bool special) {
        notice.Show_Vorblin_Bonus(FiguraInfo{shape, bonus, special}, score, sound, stats);
        return notice.lblFirma.Caption + "|" + std::to_string(notice.lblFirma.ForeColor) + "|" +
               std::to_string(notice.lblFirma.Visible) + "|" + std::to_string(notice.ColorFigura);
    };
    EXPECT_EQ(show("0000111100000000", 0, false),
              " Vorblin - фигурка    Бонус |16776960|0|16776960");
    EXPECT_EQ(show("1000000000000001", 50001, true), "Vorblin-фигурка Bonus 5000|16776960|1|255");
    EXPECT_TRUE(sound.played.empty());  // nothing before the first landing
    score.Caption = "0";
    EXPECT_EQ(show(kSuperFigure, kSuperBonus, true),
              "This Is Vorblin Bonus 25000|16711680|1|16711680");
    EXPECT_EQ(show("1000000000000001", 42165, true),  // 4216.5, to even
              "Vorblin-фигурка Bonus 4216|16776960|1|255");
    EXPECT_EQ(show("0000111100000000", 0, false), "Vorblin-фигурка Bonus 4216|16776960|1|16776960");
    EXPECT_EQ(sound.played, (std::vector<Channel>{Channel::mVorblin1, Channel::mVorblin1}));
    EXPECT_EQ(stats.Items,
              (std::vector<std::string>{"...Vorblin", "...SUPER VORBLIN !!!", "...Vorblin"}));
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
    EXPECT_EQ(rig.game.Queue(3).Bonus, 0);  // the figures after it are ordinary again
    EXPECT_FALSE(rig.game.Queue(3).IsVorblin);
    EXPECT_TRUE(rig.game.notice.lblFirma.Visible);
    EXPECT_EQ(rig.game.notice.lblFirma.Caption, "Vorblin-фигурка Bonus 4000");
    EXPECT_TRUE(rig.sound.played.empty());
    EXPECT_TRUE(rig.game.lstStatistic.Items.empty());
}

}  // namespace
}  // namespace vorblin
