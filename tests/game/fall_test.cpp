#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/well_picture.h"

namespace vorblin {
namespace {

using testing::GameRig;

constexpr const char* kBar = "0000111100000000";  // vertical bar in box column 1

class FallTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.game.Form_Load();
        Game& g = rig.game;
        g.board.Reset();
        rig.well.ops.clear();
        rig.sound.played.clear();
    }
    // Sets the counters so that the next tick lands the figure at once.
    void LandOnNextTick(int16_t timeTicksBefore, int16_t cellCounter) {
        rig.game.TickCount = static_cast<int16_t>(149 - rig.game.scores.Speed);
        rig.game.scores.TimeTicks = timeTicksBefore;
        rig.game.scores.CellCounter = cellCounter;
    }
    GameRig rig;
};

TEST_F(FallTest, StartOfGameFollowsTheLoadOrder) {
    GameRig fresh;
    fresh.clock.seconds = 4;
    fresh.rnd.fallback = 0.99999994f;  // the highest button colour
    fresh.records.tableLines = 3;
    fresh.game.Form_Load();
    const Game& g = fresh.game;
    // 9 warm-up draws and the colour, then five figures of 9 + 2 draws each.
    EXPECT_EQ(fresh.rnd.draws, 9 + 1 + 5 * 11);
    EXPECT_EQ(g.pad.ColorButtons, QBColor(15));
    EXPECT_EQ(g.pad.cmdSpace.BackColor, QBColor(15));
    EXPECT_EQ(g.board.PosX, 9);
    EXPECT_EQ(g.board.PosY, 0);
    EXPECT_EQ(g.scores.CellCounter, 8);
    EXPECT_EQ(g.Position, 3);
    EXPECT_EQ(g.lblPosition.Caption, "Place # 4");
    EXPECT_EQ(g.scores.lblScore.Caption, "---");
    EXPECT_EQ(g.scores.lblLevel.Caption, "Level # 0");
    EXPECT_TRUE(g.tmrDown.Enabled);
    EXPECT_EQ(g.tmrDown.Interval, 2);
    EXPECT_TRUE(g.lstStatistic.Items.empty());
    // Well: cleared and filled, figure, grid (normal colour at place 4), next, future.
    EXPECT_EQ(fresh.well.Count("cls"), 1);
    EXPECT_EQ(fresh.well.Count("line"), 58);
    EXPECT_EQ(fresh.future.Count("outline"), 48);
    EXPECT_EQ(fresh.next.Count("filled"), 4);  // drawn empty before the queue, then the figure

    GameRig fullTable;
    fullTable.records.tableLines = 99;
    fullTable.game.Form_Load();
    EXPECT_EQ(fullTable.game.lblPosition.Caption, "");
    EXPECT_EQ(fullTable.game.pad.ColorButtons, QBColor(1));  // never palette entry 0
}

TEST_F(FallTest, PaceFollowsSpeedAndDropMode) {
    rig.SetFigure(kBar, 8, 0);
    for (int tick = 1; tick < 150; ++tick)
        rig.game.tmrDown_Timer();
    EXPECT_EQ(rig.game.board.PosY, 0);
    rig.game.tmrDown_Timer();
    EXPECT_EQ(rig.game.board.PosY, 1);
    EXPECT_EQ(rig.game.TickCount, 0);

    rig.game.scores.Speed = 15;  // level 1: every 135 ticks
    for (int tick = 1; tick < 135; ++tick)
        rig.game.tmrDown_Timer();
    EXPECT_EQ(rig.game.board.PosY, 1);
    rig.game.tmrDown_Timer();
    EXPECT_EQ(rig.game.board.PosY, 2);

    rig.game.scores.Speed = 150;
    for (int tick = 1; tick <= 5; ++tick)
        rig.game.tmrDown_Timer();
    EXPECT_EQ(rig.game.board.PosY, 7);

    rig.game.scores.Speed = 0;
    rig.game.pad.bDrop = true;
    for (int tick = 1; tick <= 5; ++tick)
        rig.game.tmrDown_Timer();
    EXPECT_EQ(rig.game.board.PosY, 12);
}

TEST_F(FallTest, TimeBonusCountsDownFreezesInDropModeAndEndsAtZero) {
    rig.SetFigure(kBar, 8, 0);
    Game& g = rig.game;
    g.tmrDown_Timer();
    EXPECT_EQ(g.scores.lblTimeBonus.Caption, "200");
    for (int tick = 0; tick < 9; ++tick)
        g.tmrDown_Timer();
    EXPECT_EQ(g.scores.lblTimeBonus.Caption, "191");
    g.cmdDown_MouseDown();
    const int ticks = rig.TicksUntilLanding();
    EXPECT_EQ(ticks, 28);  // one row per tick from row 0 to row 27, then the landing
    EXPECT_EQ(g.scores.TimeBonusTotal, 191);
    EXPECT_EQ(g.scores.Score, 10 * 191 + 4 * 8);  // the two figures counted at the load

    // A figure left to fall for 201 ticks or more earns nothing.
    g.board.Reset();
    rig.SetFigure(kBar, 8, 0);
    const int32_t before = g.scores.Score;
    const int16_t cells = g.scores.CellCounter;
    rig.TicksUntilLanding();
    EXPECT_EQ(g.scores.TimeBonusTotal, 191);
    EXPECT_EQ(g.scores.Score - before, 4 * cells);
    EXPECT_EQ(g.scores.lblTimeBonus.Caption, "-1");  // as the landing leaves it, for one tick
    g.tmrDown_Timer();
    EXPECT_EQ(g.scores.lblTimeBonus.Caption, "200");
}

TEST_F(FallTest, LandingArithmeticAndStatisticsLines) {
    Game& g = rig.game;
    testing::SetBottom(g.board, {"#####.#########"});
    rig.SetFigure(kBar, 8, 27);  // bar in column 9, resting on row 30
    g.scores.FigureCount = 11;
    LandOnNextTick(50, 8);
    g.tmrDown_Timer();
    EXPECT_EQ(g.scores.Score, 2750 + 1500 + 32);
    ASSERT_FALSE(g.lstStatistic.Items.empty());
    EXPECT_EQ(g.lstStatistic.Items.back(), "12. +428 -> 1 lines");
    EXPECT_EQ(g.lstStatistic.ListIndex, g.lstStatistic.ListCount() - 1);
    EXPECT_EQ(g.scores.lblScore.Caption, "428");
    EXPECT_EQ(g.scores.lblCountLines[1].Caption, "1-Lines*1 = 275");
    EXPECT_EQ(g.scores.TimeBonusTotal, 150);
    EXPECT_EQ(g.scores.lblTotalScore.Caption, "150");
    EXPECT_EQ(testing::BottomPicture(g.board, 4),
              "...............\n.....#.........\n.....#.........\n.....#.........\n");
    EXPECT_EQ(rig.records.places, std::vector<int32_t>{428});

    rig.SetFigure(kBar, 12, 27);  // column 13, no line
    LandOnNextTick(100, 8);
    g.tmrDown_Timer();
    EXPECT_EQ(g.lstStatistic.Items.back(), "13. +103");
    EXPECT_EQ(g.scores.Score, 4282 + 1032);
    EXPECT_EQ(g.scores.lblScore.Caption, "531");  // 531.4
}

TEST_F(FallTest, LandingOrderOfSoundsCountersAndTheNextFigure) {
    Game& g = rig.game;
    testing::SetBottom(g.board, {"#####.#########"});
    rig.SetFigure(kBar, 8, 27);
    g.Queue(1).Bonus = 30005;  // the falling figure is special
    g.Queue(1).IsVorblin = true;
    g.Queue(3) = FiguraInfo{kSuperFigure, kSuperBonus, true};  // becomes next
    g.pad.bDrop = true;
    g.pad.cmdDown.Enabled = false;
    g.pad.cmdDown.BackColor = kBlack;
    g.notice.lblFirma.Visible = true;
    g.scores.lblScore.Caption = "12";  // not the first landing: the notice has its sound
    rig.rnd.Push({0.75f});             // landing sound: above 0.5
    LandOnNextTick(201, 0);
    g.tmrDown_Timer();
    EXPECT_EQ(rig.sound.played,
              (std::vector<Channel>{Channel::mDown1, Channel::mDelLin1, Channel::mVorblin1}));
    EXPECT_TRUE(g.pad.cmdDown.Enabled);
    EXPECT_EQ(g.pad.cmdDown.BackColor, g.pad.ColorButtons);
    EXPECT_FALSE(g.pad.bDrop);
    EXPECT_EQ(g.scores.VorblinBonusTotal, 30005);
    EXPECT_EQ(g.scores.lblSumBonus.Caption, "  Vorblin Bonus : 3000");  // 3000.5, to even
    EXPECT_EQ(g.scores.Score, 2750 + 30005);
    // Update_Place sees the score before the special bonus.
    EXPECT_EQ(rig.records.places, std::vector<int32_t>{275});
    EXPECT_EQ(g.Queue(2).Shape, kSuperFigure);
    EXPECT_TRUE(g.notice.lblFirma.Visible);
    EXPECT_EQ(g.notice.ColorFigura, kBlue);
    EXPECT_EQ(g.lstStatistic.Items,
              (std::vector<std::string>{"...SUPER VORBLIN !!!", "1. +3276 -> 1 lines"}));
    EXPECT_EQ(g.board.PosX, 9);
    EXPECT_EQ(g.board.PosY, 0);
    EXPECT_EQ(g.TickCount, 0);
    EXPECT_EQ(g.scores.TimeTicks, 0);
    // The new figure (4 cells) and the new next figure (12 cells) are counted.
    EXPECT_EQ(g.scores.CellCounter, 4 + 12);
    EXPECT_EQ(rig.next.ops.back(), "filled 808,808-1002,1002 #FF0000");

    // A draw of exactly 0.5 is not above it: the other landing sound.
    rig.rnd.Push({0.5f});
    g.board.Reset();
    rig.SetFigure(kBar, 8, 27);
    LandOnNextTick(201, 0);
    rig.sound.played.clear();
    g.tmrDown_Timer();
    EXPECT_EQ(rig.sound.played.front(), Channel::mDown2);
}

TEST_F(FallTest, OnlyAnOverlapAtTheStartEndsTheGame) {
    Game& g = rig.game;
    for (int x = 4; x <= 18; ++x)
        if (x != 10 && x != 11)
            g.board.C(x, 0) = true;  // row 0 filled beside the new figure
    rig.SetFigure(kBar, 12, 27);
    LandOnNextTick(0, 0);
    g.tmrDown_Timer();
    EXPECT_TRUE(rig.records.endings.empty());

    // Shape 0 comes in at column 10, rows 0-2, and column 11, row 0.
    g.board.C(11, 0) = true;
    rig.SetFigure(kBar, 14, 27);
    LandOnNextTick(0, 0);
    g.tmrDown_Timer();
    ASSERT_EQ(rig.records.endings.size(), 1u);
    EXPECT_EQ(rig.records.endings[0], g.ShownScore());
}

TEST_F(FallTest, GameOverFlowStartsANewGameAndIsNotReentered) {
    Game& g = rig.game;
    rig.records.restartOnEnd = &g;
    g.scores.Speed = 45;
    g.scores.Level = 3;
    g.scores.LineCounts[2] = 4;
    g.board.C(10, 1) = true;  // under the next figure's start
    rig.SetFigure(kBar, 4, 27);
    LandOnNextTick(0, 0);
    g.tmrDown_Timer();
    ASSERT_EQ(rig.records.endings.size(), 1u);
    EXPECT_EQ(rig.records.loads, 2);
    EXPECT_EQ(g.scores.Score, 0);
    EXPECT_EQ(g.scores.Speed, 0);
    EXPECT_EQ(g.scores.Level, 0);
    EXPECT_EQ(g.scores.LineCounts[2], 0);
    EXPECT_EQ(g.scores.lblScore.Caption, "---");
    EXPECT_EQ(testing::BottomPicture(g.board, 31).find('#'), std::string::npos);
    EXPECT_TRUE(g.lstStatistic.Items.empty());

    // A tick that arrives while the flow still runs is ignored.
    struct Nested final : RecordsLink {
        int16_t Load_Table() override { return 1; }
        void Update_Place(int32_t) override {}
        void End_Of_Game(int32_t) override {
            const int16_t before = game->TickCount;
            game->tmrDown_Timer();
            tickedInside = game->TickCount != before;
        }
        Game* game = nullptr;
        bool tickedInside = true;
    } nested;
    Game inner(GameParts{rig.rnd, rig.clock, rig.well, rig.next, rig.future, rig.sound, nested,
                         rig.shell});
    nested.game = &inner;
    inner.Form_Load();
    inner.board.C(10, 1) = true;
    int16_t cells = 0;
    Initialize_Array_For_Brikko(inner.board.Figura, kBar, cells);
    inner.board.PosX = 4;
    inner.board.PosY = 27;
    inner.TickCount = 149;
    inner.tmrDown_Timer();
    EXPECT_FALSE(nested.tickedInside);
}

TEST_F(FallTest, PanSweepStepsOnEveryTickWhileTheMusicLoops) {
    rig.SetFigure(kBar, 8, 0);
    for (int i = 0; i < 3; ++i)
        rig.game.tmrDown_Timer();
    EXPECT_EQ(rig.sound.panSteps, 0);
    rig.sound.loop = true;
    for (int i = 0; i < 3; ++i)
        rig.game.tmrDown_Timer();
    EXPECT_EQ(rig.sound.panSteps, 3);
}

TEST_F(FallTest, ANewGameClearsALeftOverSpecialFigureNotice) {
    rig.game.notice.lblFirma.Visible = true;
    rig.game.New_Game();
    EXPECT_FALSE(rig.game.notice.lblFirma.Visible);
    EXPECT_EQ(rig.game.notice.ColorFigura, kCyan);
}

}  // namespace
}  // namespace vorblin
