// The game as the player meets it: the start, the fall and its pace, landings, the keys.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/rules/drawing.h"
#include "core/rules/figures.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::BoardWith;
using testing::Joined;
using testing::Panel;

// Box pictures (rows 0 to 3) of the shapes used below.
constexpr const char* kBar = "0000111100000000";     // .#.. in every row
constexpr const char* kSquare = "0000011001100000";  // .... / .##. / .##. / ....

using Lines = std::vector<std::string>;

// The square as the well shows it when it comes in at the top (columns 8 to 13).
const std::string kSquareAtTop = Joined({"......", "..oo..", "..oo..", "......", "......"});

Lines Shapes(const FigureQueue& queue) {
    return {queue(1).Shape, queue(2).Shape, queue(3).Shape, queue(4).Shape, queue(5).Shape};
}
Lines Last(const testing::RecordingSurface& s, size_t n) {
    return Lines(s.ops.end() - static_cast<long>(n), s.ops.end());
}

TEST(StartOfGame, FillsTheQueueInOrderAndDrawsEverything) {
    testing::GameRig rig;
    rig.clock.seconds = 4;
    rig.records.tableLines = 98;
    rig.rnd.script = std::deque<float>(9, 0.9f);  // the warm-up of 2s + 1 draws
    rig.rnd.Push({0.5f});                         // the button colour: Fix(7.5) + 1
    for (int n : {6, 1, 2, 3, 4})
        rig.rnd.Push({0, 0, 0, 0, 0, 0, 0, 0, 0, (n + 0.5f) / 7, 0});
    Game& g = rig.game;
    g.Form_Load();
    EXPECT_EQ(Shapes(g.Queue),
              (Lines{kSquare, "0000011100010000", kBar, "0000010001100010", "0000001001100100"}));
    for (const CommandButton* b : {&g.pad.cmdLeftRight[0], &g.pad.cmdLeftRight[2], &g.pad.cmdRotate,
                                   &g.pad.cmdDown, &g.pad.cmdSpace})
        EXPECT_EQ(b->BackColor, QBColor(8));
    // 9 + 1 + 5 * 11 draws; 8 cells counted; not the first place: the usual grid colour.
    EXPECT_EQ(Panel(g.scores),
              "level=Level # 0\nlines to go=\nscore=---\n1 line=\n2 lines=\n3 lines=\n4 lines=\n"
              "special bonus=\ntime bonus=\ntime bonus total=40000\n");
    EXPECT_EQ(SEEN(rig.rnd.draws, g.scores.CellCounter, g.lblPosition.Caption,
                   g.scores.lblScore.ForeColor, g.tmrDown.Enabled, g.pad.EnableControls,
                   g.pad.cmdDown.Enabled, g.notice.lblFirma.Visible, g.pad.bDrop,
                   rig.well.LinesSinceCls(), rig.well.ops.back()),
              "rig.rnd.draws=65\ng.scores.CellCounter=8\ng.lblPosition.Caption=Place # 99\n"
              "g.scores.lblScore.ForeColor=65535\ng.tmrDown.Enabled=true\n"
              "g.pad.EnableControls=true\ng.pad.cmdDown.Enabled=true\n"
              "g.notice.lblFirma.Visible=false\ng.pad.bDrop=false\nrig.well.LinesSinceCls()=58\n"
              "rig.well.ops.back()=line 0,8500-5500,8500 #AFAF96\n");
    EXPECT_EQ(rig.well.Cells(8, 0, 13, 4), kSquareAtTop);
    EXPECT_EQ(Last(rig.next, 5),
              (Lines{"cls", "filled 308,308-502,502 #FFFF00", "filled 308,558-502,752 #FFFF00",
                     "filled 308,808-502,1002 #FFFF00", "filled 558,808-752,1002 #FFFF00"}));
    // Queue(3), the bar: cell (1, 0).
    EXPECT_EQ(SEEN(rig.future.ops.size(), rig.future.ops[5]),
              "rig.future.ops.size()=49\nrig.future.ops[5]=outline 528,278-722,472 #FFFF\n");

    // The button colour is never palette entry 0, and a full table shows no place.
    for (auto [draw, colour] : {std::pair{0.0f, 1}, {0.99999994f, 15}}) {
        testing::GameRig other;
        other.records.tableLines = 99;
        other.rnd.Push({0, draw});
        other.game.Form_Load();
        EXPECT_EQ(other.game.pad.ColorButtons, QBColor(colour)) << draw;
        EXPECT_EQ(other.game.lblPosition.Caption, "") << draw;
    }
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

class FallTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g.Form_Load();
        rig.sound.played.clear();
        rig.records.log = &g.lstStatistic;
    }
    testing::GameRig rig;
    Game& g = rig.game;
};

TEST_F(FallTest, PaceFollowsSpeedAndDropModeAndTheTimeBonusCountsDown) {
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
    EXPECT_EQ(g.scores.lblTimeBonus.Caption, "0");  // 201 ticks: the count stops
    g.scores.Speed = 0;
    g.pad.bDrop = true;
    EXPECT_EQ(ticks(5), 12);
    // Between fall steps the well shows the figure one row above its place.
    EXPECT_EQ(rig.well.Cells(7, 10, 12, 15),
              Joined({"......", "..o...", "..o...", "..o...", "..o...", "      "}));
    rig.sound.loop = true;  // the background music's pan sweeps on every tick
    ticks(3);
    EXPECT_EQ(rig.sound.panSteps, 3);

    rig.SetFigure(kBar, 4, 0);  // a figure dropped after ten ticks keeps a bonus of 191
    g.pad.bDrop = false;
    g.scores.TimeTicks = 0;
    ticks(10);
    EXPECT_EQ(g.scores.lblTimeBonus.Caption, "191");
    g.cmdDown_MouseDown();
    EXPECT_EQ(ticks(27), 27);  // one row per tick down to row 27, then the landing
    ticks(1);                  // and 8 cells counted at the load
    EXPECT_EQ(SEEN(g.scores.TimeBonusTotal, g.lstStatistic.Items.back(),
                   g.scores.lblTimeBonus.Caption, g.scores.lblTotalScore.Caption),
              "g.scores.TimeBonusTotal=191\ng.lstStatistic.Items.back()=1. +194\n"
              "g.scores.lblTimeBonus.Caption=190\ng.scores.lblTotalScore.Caption=191\n");
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
    g.cmdDown_MouseDown();
    rig.sound.played.clear();
    rig.rnd.Push({0.5f});  // not above one half: the second landing sound
    g.tmrDown_Timer();

    EXPECT_EQ(rig.sound.played,
              (std::vector<Channel>{Channel::mDown2, Channel::mDelLin1, Channel::mVorblin1}));
    EXPECT_EQ(testing::BottomPicture(g.board, 3),
              Joined({"...............", ".....#.........", ".....#........."}));
    // Line bonus 8000, time bonus 10 * 141 and cell bonus 4 * 8 before the place is
    // updated, then the special bonus 30005.
    EXPECT_EQ(g.lstStatistic.Items, (Lines{"Level # 1...", "...Score : 100", "...Place : 1044",
                                           "...SUPER VORBLIN !!!", "1. +3945 -> 2 lines"}));
    EXPECT_EQ(Panel(g.scores),
              "level=Level # 1\nlines to go=12345678\nscore=4045\n1 line=\n"
              "2 lines=2-Lines*1 = 800\n3 lines=\n4 lines=\nspecial bonus=  Vorblin Bonus : 3000\n"
              "time bonus=140\ntime bonus total=141\n");
    EXPECT_EQ(Shapes(g.Queue), (Lines{kSquare, kSuperFigure, "1000000000000000", "0000000000000001",
                                      "0000111010000000"}));
    EXPECT_EQ(g.board.Figura, BoardWith(kSquare, 9, 0).Figura);
    // Score 1000 + 8000 + 1410 + 32 + 30005; 4 + 12 cells of the new figure and next figure.
    EXPECT_EQ(
        SEEN(g.scores.Score, g.lstStatistic.ListIndex, int{g.board.PosX}, int{g.board.PosY},
             g.TickCount, g.scores.TimeTicks, g.scores.CellCounter, g.pad.cmdDown.Enabled,
             g.notice.lblFirma.Visible, g.pad.bDrop, g.pad.cmdDown.BackColor == g.pad.ColorButtons),
        "g.scores.Score=40447\ng.lstStatistic.ListIndex=4\nint{g.board.PosX}=9\n"
        "int{g.board.PosY}=0\ng.TickCount=0\ng.scores.TimeTicks=0\ng.scores.CellCounter=16\n"
        "g.pad.cmdDown.Enabled=true\ng.notice.lblFirma.Visible=true\ng.pad.bDrop=false\n"
        "g.pad.cmdDown.BackColor == g.pad.ColorButtons=true\n");
    // The well: the field after the removal, the grid, then the new figure at the top.
    EXPECT_EQ(rig.well.Cells(8, 0, 13, 4), kSquareAtTop);
    EXPECT_EQ(rig.well.Cells(9, 28, 9, 30) + std::to_string(rig.well.LinesSinceCls()),
              " \n#\n#\n58");
    EXPECT_EQ(Last(rig.next, 13).front() + rig.next.ops.back(),  // the super figure in blue
              "cls"
              "filled 808,808-1002,1002 #FF0000");
    // The future boxes: queue 3's cell (0, 0), queue 4's cell (3, 3), 42 empty cells grey.
    const Lines future = Last(rig.future, 49);
    const auto grey = std::count_if(future.begin(), future.end(),
                                    [](const std::string& op) { return op.ends_with(" #787878"); });
    EXPECT_EQ(SEEN(future[0], future[1], future[32], grey),
              "future[0]=cls\nfuture[1]=outline 278,278-472,472 #FFFF\n"
              "future[32]=outline 1028,2228-1222,2422 #FFFF\ngrey=42\n");
}

TEST_F(FallTest, AnOverlapAtTheStartEndsTheGameAndItsFlowIsNotReentered) {
    for (int x = 4; x <= 18; ++x)
        g.board.C(x, 0) = x != 10;  // row 0 filled beside the new figure's column
    // Shape 0 comes in at column 10, rows 0-2, and column 11, row 0. The flow runs a tick
    // of its own (the timer keeps firing in its dialogs), then starts a new game.
    std::string seen;
    rig.records.onEnd = [&] {
        seen = g.scores.lblScore.Caption + " " + g.lstStatistic.Items.back();
        g.TickCount = 7;
        g.tmrDown_Timer();
        seen += g.TickCount == 7 ? "" : " ticked";
        g.New_Game();
    };
    g.scores.Speed = 45;
    rig.SetFigure(kBar, 14, 27);
    g.TickCount = 149;
    g.tmrDown_Timer();
    // The shown score (a time bonus of 200 and 8 cells); the window is up to date
    // behind the dialogs.
    EXPECT_EQ(rig.records.endings, std::vector<int32_t>{203});
    EXPECT_EQ(SEEN(seen, g.scores.Score, g.scores.Speed, g.scores.lblScore.Caption),
              "seen=203 1. +203\ng.scores.Score=0\ng.scores.Speed=0\n"
              "g.scores.lblScore.Caption=---\n");
}

class InputTest : public FallTest {
  protected:
    void SetUp() override {
        FallTest::SetUp();
        rig.SetFigure("0000011100010000", 8, 10);  // shape 1: .... / .#.. / .#.. / .##.
        rig.well.ops.clear();
    }
    // The well around the figure, columns 7 to 12 and rows 9 to 13, rows joined by '/'.
    std::string Shown() const {
        std::string text = rig.well.Cells(7, 9, 12, 13);
        std::replace(text.begin(), text.end(), '\n', '/');
        return text;
    }
    std::vector<Channel>& played = rig.sound.played;
};

TEST_F(InputTest, EachKeyPressesItsButtonActsOrNotAndItsReleaseRestores) {
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
    EXPECT_EQ(pad.cmdLeftRight[0].BackColor, QBColor(1));
    EXPECT_EQ(pad.cmdLeftRight[2].BackColor, QBColor(1));

    // Refused actions still colour their buttons; only the turn sounds.
    rig.SetFigure("0000111100000000", 3, 10);  // a bar against the left wall
    played.clear();
    rig.well.ops.clear();
    for (int16_t key : {kKeyLeft, kKeyUp, kKeySpace})  // the box reaches column 3
        g.Form_KeyDown(key);
    EXPECT_EQ(g.board.Figura, BoardWith("0000111100000000", 3, 10).Figura);
    EXPECT_EQ(played, std::vector<Channel>{Channel::mRotate1});
    // The turn redraws the figure as it is.
    EXPECT_EQ(int{g.board.PosX}, 3);
    EXPECT_EQ(g.pad.cmdLeftRight[0].BackColor, kGreen);
    EXPECT_EQ(g.pad.cmdSpace.BackColor, kYellow);
    EXPECT_EQ(rig.well.Count("outline"), 4);
}

TEST_F(InputTest, DownDropsOnceAndItsReleaseOnlyHandsTheFocusBack) {
    rig.rnd.Push({0.50000006f, 0.5f});
    g.Form_KeyDown(kKeyDown);
    g.Form_KeyDown(kKeyDown);  // the button is disabled now
    EXPECT_EQ(played, std::vector<Channel>{Channel::mDrop1});
    g.Form_KeyUp(kKeyDown);
    g.cmdDown_MouseUp();
    EXPECT_EQ(
        SEEN(g.pad.bDrop, g.pad.cmdDown.Enabled, g.pad.cmdDown.BackColor, rig.shell.focusWell),
        "g.pad.bDrop=true\ng.pad.cmdDown.Enabled=false\ng.pad.cmdDown.BackColor=0\n"
        "rig.shell.focusWell=1\n");
    g.pad.cmdDown.Enabled = true;
    g.Form_KeyDown(kKeyDown);  // exactly one half is not above it: the second sound
    EXPECT_EQ(played.back(), Channel::mDrop2);
}

TEST_F(InputTest, EscapePausesAndMinimisesWhileThePauseButtonOnlyPauses) {
    rig.next.ops.clear();
    g.Form_KeyDown(kKeyEscape);
    // The figure and the next figure are redrawn on pausing and on resuming.
    EXPECT_EQ(SEEN(g.pad.chkPause.Value, g.pad.fraControl.Visible, g.tmrDown.Enabled,
                   g.pad.EnableControls, g.pad.bEscape, rig.next.Count("cls"), Shown()),
              "g.pad.chkPause.Value=1\ng.pad.fraControl.Visible=false\ng.tmrDown.Enabled=false\n"
              "g.pad.EnableControls=false\ng.pad.bEscape=false\nrig.next.Count(\"cls\")=1\n"
              "Shown()=....../....../..o.../..o.../..oo../\n");
    for (int key : {37, 39, 38, 40, 32, 65})  // the game keys and one other
        g.Form_KeyDown(static_cast<int16_t>(key));
    g.cmdSpace_MouseDown();
    EXPECT_EQ(SEEN(int{g.board.PosX}, g.board.Figura.FilledCount(), g.pad.bDrop, played.size()),
              "int{g.board.PosX}=8\ng.board.Figura.FilledCount()=4\ng.pad.bDrop=false\n"
              "played.size()=0\n");
    rig.well.ops.clear();
    g.Form_KeyDown(kKeyEscape);
    EXPECT_EQ(SEEN(g.pad.fraControl.Visible, g.tmrDown.Enabled, g.pad.EnableControls,
                   rig.well.Count("outline"), rig.next.Count("cls")),
              "g.pad.fraControl.Visible=true\ng.tmrDown.Enabled=true\ng.pad.EnableControls=true\n"
              "rig.well.Count(\"outline\")=4\nrig.next.Count(\"cls\")=2\n");
    g.Set_chkPause(1);  // minimised only by Esc, restored once, the focus back each time
    EXPECT_EQ(SEEN(rig.shell.minimized, rig.shell.restored, rig.shell.focusWell),
              "rig.shell.minimized=1\nrig.shell.restored=1\nrig.shell.focusWell=3\n");
}

TEST(FallTicks, TheGameSaysWhenTheNextVisibleChangeComes) {
    testing::GameRig rig;
    Game& g = rig.game;
    g.Form_Load();
    EXPECT_EQ(g.TicksUntilChange(), 1);  // the time bonus counts down
    g.scores.TimeTicks = 201;
    auto until = [&](int tick, int speed) {
        g.TickCount = static_cast<int16_t>(tick);
        g.scores.Speed = static_cast<int16_t>(speed);
        return g.TicksUntilChange();
    };
    EXPECT_EQ(SEEN(until(0, 0), until(149, 0), until(100, 15), until(200, 15)),
              "until(0, 0)=150\nuntil(149, 0)=1\nuntil(100, 15)=35\nuntil(200, 15)=1\n");
    rig.sound.loop = true;  // the background pans every tick
    EXPECT_EQ(until(0, 0), 1);
    rig.sound.loop = false;
    g.pad.bDrop = true;
    EXPECT_EQ(until(0, 0), 1);
    // The promise holds: nothing changes on the ticks before.
    g.pad.bDrop = false;
    const int ahead = until(0, 0), y = g.board.PosY;
    for (int i = 1; i < ahead; ++i)
        g.tmrDown_Timer();
    EXPECT_EQ(g.board.PosY, y);
    g.tmrDown_Timer();
    EXPECT_EQ(g.board.PosY, y + 1);
}

}  // namespace
}  // namespace vorblin
