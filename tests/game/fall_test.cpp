#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/well_picture.h"

namespace vorblin {
namespace {

using testing::Joined;

constexpr const char* kBar = "0000111100000000";     // .#.. in every row
constexpr const char* kSquare = "0000011001100000";  // shape 6
// The square of shape 6 as the well shows it when it comes in at the top (columns 8-13).
const std::string kSquareAtTop = Joined({"......", "..oo..", "..oo..", "......", "......"});

// Queue shapes, Queue(1) first.
std::vector<std::string> Shapes(const FigureQueue& queue) {
    std::vector<std::string> shapes;
    for (int i = 1; i <= 5; ++i)
        shapes.push_back(queue(i).Shape);
    return shapes;
}

TEST(StartOfGame, FillsTheQueueInOrderAndDrawsEverything) {
    testing::GameRig rig;
    rig.clock.seconds = 4;
    rig.records.tableLines = 98;
    rig.rnd.script = std::deque<float>(9, 0.9f);  // the warm-up of 2s + 1 draws
    rig.rnd.Push({0.5f});                         // the button colour
    for (int n : {6, 1, 2, 3, 4})
        rig.rnd.Push({0, 0, 0, 0, 0, 0, 0, 0, 0, (n + 0.5f) / 7, 0});
    Game& g = rig.game;
    g.Form_Load();
    EXPECT_EQ(rig.rnd.draws, 9 + 1 + 5 * 11);
    EXPECT_EQ(Shapes(g.Queue),
              (std::vector<std::string>{kSquare, "0000011100010000", "0000111100000000",
                                        "0000010001100010", "0000001001100100"}));
    EXPECT_EQ(g.pad.ColorButtons, QBColor(8));  // Fix(0.5 * 15) + 1
    for (const CommandButton* b : {&g.pad.cmdLeftRight[0], &g.pad.cmdLeftRight[2], &g.pad.cmdRotate,
                                   &g.pad.cmdDown, &g.pad.cmdSpace})
        EXPECT_EQ(b->BackColor, QBColor(8));
    EXPECT_EQ(g.scores.CellCounter, 8);
    EXPECT_EQ(g.lblPosition.Caption, "Place # 99");
    EXPECT_EQ(g.scores.lblScore.Caption, "---");
    EXPECT_EQ(g.scores.lblScore.ForeColor, kYellow);
    EXPECT_TRUE(g.tmrDown.Enabled && g.pad.EnableControls && g.pad.cmdDown.Enabled);
    EXPECT_EQ(rig.well.Cells(8, 0, 13, 4), kSquareAtTop);
    EXPECT_EQ(rig.well.LinesSinceCls(), 58);
    EXPECT_EQ(rig.well.ops.back(), "line 0,8500-5500,8500 #AFAF96");  // not the first place
    EXPECT_EQ(std::vector<std::string>(rig.next.ops.end() - 5, rig.next.ops.end()),
              (std::vector<std::string>{
                  "cls", "filled 308,308-502,502 #FFFF00", "filled 308,558-502,752 #FFFF00",
                  "filled 308,808-502,1002 #FFFF00", "filled 558,808-752,1002 #FFFF00"}));
    EXPECT_EQ(rig.future.ops.size(), 1u + 48u);
    EXPECT_EQ(rig.future.ops[5], "outline 528,278-722,472 #FFFF");  // shape 2 in Queue(3)

    // The button colour is never palette entry 0, and a full table shows no place.
    for (auto [draw, colour] : {std::pair{0.0f, 1}, {0.99999994f, 15}}) {
        testing::GameRig other;
        other.records.tableLines = 99;
        other.rnd.Push({0, draw});
        other.game.Form_Load();
        EXPECT_EQ(other.game.pad.ColorButtons, QBColor(colour));
        EXPECT_EQ(other.game.lblPosition.Caption, "");
    }
}

class FallTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g.Form_Load();  // every draw 0: ordinary figures of shape 0, buttons in QBColor(1)
        rig.sound.played.clear();
    }
    testing::GameRig rig;
    Game& g = rig.game;
};

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
    // The well shows the figure one row above its place between fall steps.
    EXPECT_EQ(rig.well.Cells(7, 10, 12, 15),
              Joined({"......", "..o...", "..o...", "..o...", "..o...", "      "}));
    rig.sound.loop = true;  // the background music's pan sweeps on every tick
    ticks(3);
    EXPECT_EQ(rig.sound.panSteps, 3);
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
    EXPECT_EQ(g.scores.lblTimeBonus.Caption, "190");
    EXPECT_EQ(g.scores.lblTotalScore.Caption, "191");

    // A figure left to fall for 201 ticks or more earns no time bonus.
    rig.SetFigure(kBar, 4, 0);
    const int32_t before = g.scores.Score;
    rig.TicksUntilLanding();
    EXPECT_EQ(g.scores.TimeBonusTotal, 191);
    EXPECT_EQ(g.scores.Score - before, 4 * 8);
    EXPECT_EQ(g.scores.lblTimeBonus.Caption, "-1");  // the landing writes 200 - TimeTicks
}

TEST_F(FallTest, LandingRemovesScoresShiftsTheQueueAndRedrawsInItsOrder) {
    testing::SetBottom(g.board, {"#####.#########", "#####.#########"});
    rig.SetFigure(kBar, 8, 27);                  // the bar in column 9, rows 27 to 30
    g.Queue(1) = FiguraInfo{kBar, 30005, true};  // the falling figure is special
    g.Queue(2) = FiguraInfo{kSquare, 0, false};
    g.Queue(3) = FiguraInfo{kSuperFigure, kSuperBonus, true};
    g.Queue(4).Shape = "1000000000000000";
    g.Queue(5).Shape = "0000000000000001";
    g.notice.lblFirma.Visible = true;
    g.scores.lblScore.Caption = "100";  // not the first landing: the notice has its sound
    g.scores.Score = 1000;
    g.scores.LinesInLevel = 8;
    g.scores.TimeTicks = 60;
    g.scores.CellCounter = 8;
    g.cmdDown_MouseDown();  // draws 0: the second drop sound
    rig.sound.played.clear();
    rig.rnd.Push({0.5f});  // not above one half: the second landing sound
    g.tmrDown_Timer();

    EXPECT_EQ(rig.sound.played,
              (std::vector<Channel>{Channel::mDown2, Channel::mDelLin1, Channel::mVorblin1}));
    EXPECT_EQ(testing::BottomPicture(g.board, 4),
              Joined({"...............", "...............", ".....#.........", ".....#........."}));
    // Line bonus 8000, time bonus 10 * 141, cell bonus 4 * 8, then the special bonus.
    EXPECT_EQ(rig.records.places, std::vector<int32_t>{1044});
    EXPECT_EQ(g.scores.Score, 1000 + 8000 + 1410 + 32 + 30005);
    EXPECT_EQ(g.scores.lblScore.Caption, "4045");
    EXPECT_EQ(g.scores.lblSumBonus.Caption, "  Vorblin Bonus : 3000");  // 3000.5, to even
    EXPECT_EQ(g.scores.lblTimeBonus.Caption, "140");
    EXPECT_EQ(g.scores.lblTotalScore.Caption, "141");
    EXPECT_EQ(g.lstStatistic.Items,
              (std::vector<std::string>{"Level # 1...", "...Score : 100", "...SUPER VORBLIN !!!",
                                        "1. +3945 -> 2 lines"}));
    EXPECT_EQ(g.lstStatistic.ListIndex, 3);

    EXPECT_EQ(Shapes(g.Queue), (std::vector<std::string>{kSquare, kSuperFigure, "1000000000000000",
                                                         "0000000000000001", "0000111010000000"}));
    EXPECT_EQ(g.board.PosX * 100 + g.board.PosY, 900);
    EXPECT_EQ(g.board.Figura, testing::BoardWith(kSquare, 9, 0).Figura);
    EXPECT_EQ(g.scores.CellCounter, 4 + 12);  // the new figure and the new next figure
    EXPECT_EQ(g.TickCount + g.scores.TimeTicks, 0);
    EXPECT_FALSE(g.pad.bDrop);
    EXPECT_TRUE(g.pad.cmdDown.Enabled);
    EXPECT_EQ(g.pad.cmdDown.BackColor, g.pad.ColorButtons);
    EXPECT_TRUE(g.notice.lblFirma.Visible);  // the super figure is next

    // The well: the field after the removal, the grid, then the new figure at the top.
    EXPECT_EQ(rig.well.Cells(8, 0, 13, 4), kSquareAtTop);
    EXPECT_EQ(rig.well.Cells(4, 28, 18, 30),
              Joined({"               ", "     #         ", "     #         "}));
    EXPECT_EQ(rig.well.LinesSinceCls(), 58);
    EXPECT_EQ(rig.next.ops[rig.next.ops.size() - 13], "cls");
    EXPECT_EQ(rig.next.ops.back(), "filled 808,808-1002,1002 #FF0000");  // the super figure
    const std::vector<std::string> future(rig.future.ops.end() - 49, rig.future.ops.end());
    EXPECT_EQ(future[0], "cls");
    EXPECT_EQ(future[1], "outline 278,278-472,472 #FFFF");       // Queue(3), cell (0, 0)
    EXPECT_EQ(future[32], "outline 1028,2228-1222,2422 #FFFF");  // Queue(4), cell (3, 3)
}

TEST_F(FallTest, APlainLandingHidesTheNoticeAndLogsWithoutLines) {
    rig.SetFigure(kBar, 12, 27);
    g.notice.lblFirma.Visible = true;  // the special figure that has just come in
    g.scores.FigureCount = 12;
    g.scores.TimeTicks = 100;
    rig.rnd.Push({0.50000006f});  // just above one half: the first landing sound
    g.TickCount = 149;
    g.tmrDown_Timer();
    EXPECT_EQ(rig.sound.played, std::vector<Channel>{Channel::mDown1});
    EXPECT_FALSE(g.notice.lblFirma.Visible);
    EXPECT_EQ(g.scores.lblSumBonus.Caption, "");
    EXPECT_EQ(g.lstStatistic.Items, std::vector<std::string>{"13. +103"});  // 1000 + 32 tenths
    EXPECT_EQ(g.scores.lblScore.Caption, "103");
    EXPECT_EQ(g.scores.lblCountLines[1].Caption, "");
}

TEST_F(FallTest, OnlyAnOverlapAtTheStartEndsTheGameAndItsFlowIsNotReentered) {
    for (int x = 4; x <= 18; ++x)
        if (x != 10 && x != 11)
            g.board.C(x, 0) = true;  // row 0 filled beside the new figure
    rig.SetFigure(kBar, 12, 27);
    g.TickCount = 149;
    g.tmrDown_Timer();
    EXPECT_TRUE(rig.records.endings.empty());

    // Shape 0 comes in at column 10, rows 0-2, and column 11, row 0. The flow runs a
    // tick of its own (the timer keeps firing in its dialogs), then starts a new game.
    struct Flow final : RecordsLink {
        int16_t Load_Table() override { return 1; }
        void Update_Place(int32_t) override {}
        void End_Of_Game(int32_t S) override {
            score = S;
            shown = game->scores.lblScore.Caption + " " + game->lstStatistic.Items.back();
            game->TickCount = 7;
            game->tmrDown_Timer();
            tickedInside = game->TickCount != 7;
            game->New_Game();
        }
        Game* game = nullptr;
        int32_t score = -1;
        std::string shown;
        bool tickedInside = true;
    } flow;
    Game game(
        GameParts{rig.rnd, rig.clock, rig.well, rig.next, rig.future, rig.sound, flow, rig.shell});
    flow.game = &game;
    game.Form_Load();
    game.scores.Speed = 45;
    game.board.C(11, 0) = true;
    int16_t cells = 0;
    Initialize_Array_For_Brikko(game.board.Figura, kBar, cells);
    game.board.PosX = 14;
    game.board.PosY = 27;
    game.TickCount = 149;
    game.tmrDown_Timer();
    EXPECT_EQ(flow.score, 203);            // the shown score: a time bonus of 200 and 8 cells
    EXPECT_EQ(flow.shown, "203 1. +203");  // the window is up to date behind the dialogs
    EXPECT_FALSE(flow.tickedInside);
    EXPECT_EQ(game.scores.Speed, 0);
    EXPECT_EQ(game.scores.lblScore.Caption, "---");
}

}  // namespace
}  // namespace vorblin
