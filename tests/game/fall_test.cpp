#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/well_picture.h"

namespace vorblin {
namespace {

constexpr const char* kBar = "0000111100000000";  // vertical bar in box column 1

class FallTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g.Form_Load();  // every draw 0: ordinary figures of shape 0
        g.board.Reset();
        rig.sound.played.clear();
    }
    // The counters that make the next tick land a figure resting on the floor.
    void LandOnNextTick(int16_t timeTicksBefore, int16_t cellCounter) {
        g.TickCount = static_cast<int16_t>(149 - g.scores.Speed);
        g.scores.TimeTicks = timeTicksBefore;
        g.scores.CellCounter = cellCounter;
    }
    testing::GameRig rig;
    Game& g = rig.game;
};

TEST_F(FallTest, StartOfGameFollowsTheLoadOrder) {
    testing::GameRig fresh;
    fresh.clock.seconds = 4;
    fresh.rnd.fallback = 0.99999994f;  // the highest button colour, shape 6
    fresh.records.tableLines = 3;
    fresh.game.Form_Load();
    const Game& f = fresh.game;
    // 9 warm-up draws and the colour, then five figures of 9 + 2 draws each.
    EXPECT_EQ(fresh.rnd.draws, 9 + 1 + 5 * 11);
    EXPECT_EQ(f.pad.cmdSpace.BackColor, QBColor(15));
    EXPECT_EQ(f.scores.CellCounter, 8);
    EXPECT_EQ(f.lblPosition.Caption, "Place # 4");
    EXPECT_EQ(f.scores.lblScore.Caption, "---");
    EXPECT_TRUE(f.tmrDown.Enabled);
    EXPECT_EQ(fresh.well.Count("cls"), 1);
    EXPECT_EQ(fresh.well.Count("line"), 58);
    EXPECT_EQ(fresh.future.Count("outline"), 48);

    testing::GameRig fullTable;
    fullTable.records.tableLines = 99;
    fullTable.game.Form_Load();
    EXPECT_EQ(fullTable.game.lblPosition.Caption, "");
    EXPECT_EQ(fullTable.game.pad.ColorButtons, QBColor(1));  // never palette entry 0
}

TEST_F(FallTest, PaceFollowsSpeedAndDropMode) {
    rig.SetFigure(kBar, 8, 0);
    auto ticks = [&](int n) {
        for (int i = 0; i < n; ++i)
            g.tmrDown_Timer();
        return int{g.board.PosY};
    };
    EXPECT_EQ(ticks(149), 0);
    EXPECT_EQ(ticks(1), 1);
    g.scores.Speed = 15;  // level 1: every 135 ticks
    EXPECT_EQ(ticks(134), 1);
    EXPECT_EQ(ticks(1), 2);
    g.scores.Speed = 150;  // level 10: every tick
    EXPECT_EQ(ticks(5), 7);
    g.scores.Speed = 0;
    g.pad.bDrop = true;
    EXPECT_EQ(ticks(5), 12);
}

TEST_F(FallTest, TimeBonusCountsDownFreezesInDropModeAndEndsAtZero) {
    rig.SetFigure(kBar, 8, 0);
    for (int tick = 0; tick < 10; ++tick)
        g.tmrDown_Timer();
    EXPECT_EQ(g.scores.lblTimeBonus.Caption, "191");
    g.cmdDown_MouseDown();
    EXPECT_EQ(rig.TicksUntilLanding(), 28);  // one row per tick down to row 27, then landing
    EXPECT_EQ(g.scores.TimeBonusTotal, 191);
    EXPECT_EQ(g.scores.Score, 10 * 191 + 4 * 8);  // and the two figures counted at the load

    // A figure left to fall for 201 ticks or more earns no time bonus.
    g.board.Reset();
    rig.SetFigure(kBar, 8, 0);
    const int32_t before = g.scores.Score;
    rig.TicksUntilLanding();
    EXPECT_EQ(g.scores.TimeBonusTotal, 191);
    EXPECT_EQ(g.scores.Score - before, 4 * 8);
}

TEST_F(FallTest, LandingArithmeticAndStatisticsLines) {
    testing::SetBottom(g.board, {"#####.#########"});
    rig.SetFigure(kBar, 8, 27);  // bar in column 9, resting on row 30
    g.scores.FigureCount = 11;
    LandOnNextTick(50, 8);
    g.tmrDown_Timer();
    EXPECT_EQ(g.scores.Score, 2750 + 1500 + 32);
    EXPECT_EQ(g.lstStatistic.Items.back(), "12. +428 -> 1 lines");
    EXPECT_EQ(g.lstStatistic.ListIndex, g.lstStatistic.ListCount() - 1);
    EXPECT_EQ(g.scores.lblScore.Caption, "428");
    EXPECT_EQ(g.scores.lblTotalScore.Caption, "150");
    EXPECT_EQ(testing::BottomPicture(g.board, 4),
              "...............\n.....#.........\n.....#.........\n.....#.........\n");

    rig.SetFigure(kBar, 12, 27);  // column 13, no line
    LandOnNextTick(100, 8);
    g.tmrDown_Timer();
    EXPECT_EQ(g.lstStatistic.Items.back(), "13. +103");
    EXPECT_EQ(g.scores.lblScore.Caption, "531");  // 5314 tenths
}

TEST_F(FallTest, LandingOrderOfSoundsBonusesAndTheNextFigure) {
    testing::SetBottom(g.board, {"#####.#########"});
    rig.SetFigure(kBar, 8, 27);
    g.Queue(1).Bonus = 30005;                                  // the falling figure is special
    g.Queue(3) = FiguraInfo{kSuperFigure, kSuperBonus, true};  // becomes next
    g.pad.bDrop = true;
    g.pad.cmdDown = {kBlack, false};
    g.scores.lblScore.Caption = "12";  // not the first landing: the notice has its sound
    rig.rnd.Push({0.75f});             // landing sound: above 0.5
    LandOnNextTick(201, 0);
    g.tmrDown_Timer();
    EXPECT_EQ(rig.sound.played,
              (std::vector<Channel>{Channel::mDown1, Channel::mDelLin1, Channel::mVorblin1}));
    EXPECT_TRUE(g.pad.cmdDown.Enabled);
    EXPECT_EQ(g.pad.cmdDown.BackColor, g.pad.ColorButtons);
    EXPECT_FALSE(g.pad.bDrop);
    EXPECT_EQ(g.scores.lblSumBonus.Caption, "  Vorblin Bonus : 3000");  // 3000.5, to even
    EXPECT_EQ(g.scores.Score, 2750 + 30005);
    EXPECT_EQ(rig.records.places, std::vector<int32_t>{275});  // before the special bonus
    EXPECT_EQ(g.lstStatistic.Items,
              (std::vector<std::string>{"...SUPER VORBLIN !!!", "1. +3276 -> 1 lines"}));
    EXPECT_EQ(g.notice.ColorFigura, kBlue);
    EXPECT_EQ(rig.next.ops.back(), "filled 808,808-1002,1002 #FF0000");
    EXPECT_EQ(g.board.PosX * 100 + g.board.PosY, 900);
    EXPECT_EQ(g.TickCount + g.scores.TimeTicks, 0);
    EXPECT_EQ(g.scores.CellCounter, 4 + 12);  // the new figure and the new next figure

    rig.rnd.Push({0.5f});  // not above 0.5: the other landing sound
    rig.SetFigure(kBar, 8, 27);
    LandOnNextTick(201, 0);
    rig.sound.played.clear();
    g.tmrDown_Timer();
    EXPECT_EQ(rig.sound.played.front(), Channel::mDown2);
}

TEST_F(FallTest, OnlyAnOverlapAtTheStartEndsTheGameAndItsFlowIsNotReentered) {
    for (int x = 4; x <= 18; ++x)
        if (x != 10 && x != 11)
            g.board.C(x, 0) = true;  // row 0 filled beside the new figure
    rig.SetFigure(kBar, 12, 27);
    LandOnNextTick(0, 0);
    g.tmrDown_Timer();
    EXPECT_TRUE(rig.records.endings.empty());

    // Shape 0 comes in at column 10, rows 0-2, and column 11, row 0. The flow runs a
    // tick of its own (the timer keeps firing in its dialogs), then starts a new game.
    struct Flow final : RecordsLink {
        int16_t Load_Table() override { return 1; }
        void Update_Place(int32_t) override {}
        void End_Of_Game(int32_t S) override {
            score = S;
            game->TickCount = 7;
            game->tmrDown_Timer();
            tickedInside = game->TickCount != 7;
            game->New_Game();
        }
        Game* game = nullptr;
        int32_t score = -1;
        bool tickedInside = true;
    } flow;
    Game game(
        GameParts{rig.rnd, rig.clock, rig.well, rig.next, rig.future, rig.sound, flow, rig.shell});
    flow.game = &game;
    game.Form_Load();
    game.scores.Speed = 45;
    game.scores.LineCounts[2] = 4;
    game.notice.lblFirma.Visible = true;  // a special figure was waiting
    game.board.C(11, 0) = true;
    int16_t cells = 0;
    Initialize_Array_For_Brikko(game.board.Figura, kBar, cells);
    game.board.PosX = 14;
    game.board.PosY = 27;
    game.TickCount = 149;
    game.tmrDown_Timer();
    EXPECT_EQ(flow.score, 203);  // the shown score: a time bonus of 200 and 8 cells
    EXPECT_FALSE(flow.tickedInside);
    EXPECT_EQ(game.scores.Speed, 0);
    EXPECT_EQ(game.scores.LineCounts[2], 0);
    EXPECT_EQ(game.scores.lblScore.Caption, "---");
    EXPECT_FALSE(game.notice.lblFirma.Visible);
    EXPECT_TRUE(game.lstStatistic.Items.empty());
    EXPECT_EQ(testing::BottomPicture(game.board, 31).find('#'), std::string::npos);
}

TEST_F(FallTest, PanSweepStepsOnEveryTickWhileTheMusicLoops) {
    rig.SetFigure(kBar, 8, 0);
    g.tmrDown_Timer();
    rig.sound.loop = true;
    for (int i = 0; i < 3; ++i)
        g.tmrDown_Timer();
    EXPECT_EQ(rig.sound.panSteps, 3);
}

}  // namespace
}  // namespace vorblin
