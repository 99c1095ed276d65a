// The game as the player meets it: the start, the fall and its pace, landings, the keys; the
// demonstration's presses and their pace.
#include <gtest/gtest.h>

#include "core/rules/figures.h"
#include "core/session/demo.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::Show;
using Lines = std::vector<std::string>;
using C = Channel;

constexpr const char* kBar = "0000111100000000";     // .#.. in every row
constexpr const char* kSquare = "0000011001100000";  // .... / .##. / .##. / ....

class GameTest : public ::testing::Test {
  protected:
    GameTest() { g.Form_Load(); }  // every draw 0: buttons in QBColor(1), shape 0 at column 9
    int Ticks(int n) {
        for (int i = 0; i < n; ++i)
            g.tmrDown_Timer();
        return g.board.PosY;
    }
    Lines Shapes() const {
        return {g.Queue(1).Shape, g.Queue(2).Shape, g.Queue(4).Shape, g.Queue(5).Shape};
    }
    testing::GameRig rig;
    Game& g = rig.game;
    const ControlPad& pad = g.pad;
    std::vector<Channel>& played = rig.sound.played;
};

TEST_F(GameTest, StartFillsTheQueueInOrderPaintsTheButtonsAndDrawsEverything) {
    rig.records.tableLines = static_cast<int16_t>(kMaxRecords - 1);  // the last place left
    rig.rnd.Push({0, 0.5f});  // warm-up, the button colour: Fix(7.5) + 1
    for (int n : {6, 1, 2, 3, 4})
        rig.rnd.Push({0, (n + 0.5f) / 7, 0});
    g.New_Game();
    EXPECT_EQ(Shapes(),
              (Lines{kSquare, "0000011100010000", "0000010001100010", "0000001001100100"}));
    EXPECT_EQ(Show("buttons", pad.cmdSpace.BackColor, "place", g.lblPosition.Caption, "falls",
                   g.tmrDown.Enabled && pad.EnableControls && pad.cmdDown.Enabled),
              Show("buttons", QBColor(8), "place", "Place # " + std::to_string(kMaxRecords),
                   "falls", true));
    // The field, the figure in its window of six columns by five rows, then the grid over them.
    EXPECT_EQ(rig.well.Cells(8, 1, 14, 1) + rig.well.Cells(8, 4, 14, 4) + rig.well.ops.back(),
              "..oo.. \n...... \nline 0,8500-5500,8500 #AFAF96");
    // A special next figure shows silently; the colour is never palette entry 0 and a full
    // table shows no place.
    rig.records.tableLines = static_cast<int16_t>(kMaxRecords);
    rig.rnd.script = {0, 0, 0, 0, 0, 0, 0, 0.5f};  // figure 2 special, no cell: the super figure
    g.scores.lblScore.Caption = "2";
    g.New_Game();
    EXPECT_EQ(Show("buttons", pad.cmdSpace.BackColor, "place", g.lblPosition.Caption, "notice",
                   g.notice.lblFirma.Caption, "sounds", played.size()),
              Show("buttons", QBColor(1), "place", "", "notice", "This Is Vorblin Bonus 25000",
                   "sounds", 0));
}

TEST_F(GameTest, PaceFollowsSpeedAndDropModeAndTheTimeBonusStops) {
    testing::Place(g.board, kBar, 8, 0);
    // The row reached, and how long the desktop's clock may then sleep: a tick during the time
    // bonus's first 201 ticks, else the rest of the row's 150 - speed ticks.
    const struct {
        int speed, ticks, row, sleep;
    } steps[] = {{0, 149, 0, 1},  {0, 1, 1, 1},   {15, 134, 1, 1},
                 {15, 1, 2, 135}, {150, 5, 7, 1}, {15, 10, 7, 125}};
    for (const auto& s : steps) {
        g.scores.Speed = static_cast<int16_t>(s.speed);
        EXPECT_EQ((std::pair{Ticks(s.ticks), g.TicksUntilChange()}),
                  std::pair(s.row, s.sleep));  // braces: the ticks come first
    }
    EXPECT_EQ(g.scores.lblTimeBonus.Caption, "0");  // 201 ticks: the count stops
    g.scores.Speed = 0;
    g.pad.bDrop = true;     // a dropped figure falls a row every tick
    rig.sound.loop = true;  // the background music's pan sweeps on every tick
    EXPECT_EQ(Ticks(5), 12);
    EXPECT_EQ(rig.sound.panSteps, 5);
    Ticks(16);  // landed, no row full: no special figure has, so no special bonus is shown
    EXPECT_EQ(Show("bonus", g.scores.lblSumBonus.Caption, "sounds", played.size(), "log",
                   g.lstStatistic.Items.back()),
              Show("bonus", "", "sounds", 1, "log", "1. +3"));
}

TEST_F(GameTest, LandingRemovesScoresLogsShiftsTheQueueAndShowsTheNextFigure) {
    rig.records.log = &g.lstStatistic;
    testing::SetBottom(g.board, {"#####.#########", "#####.#########"});
    testing::Place(g.board, kBar, 8, 27);        // the bar in column 9, rows 27 to 30
    g.Queue(1) = FiguraInfo{kBar, 30005, true};  // the falling figure is special
    g.Queue(3) = FiguraInfo{kSuperFigure, kSuperBonus, true};
    g.Queue(5).Shape = kSquare;
    g.scores.lblScore.Caption = "100";  // not the first landing: the notice has its sound
    g.scores.Score = 1000;
    g.scores.LinesInLevel = 7;  // the level rises on the second
    g.scores.TimeTicks = 60;
    g.scores.CellCounter = 8;
    g.cmdDown_MouseDown();
    played.clear();
    rig.rnd.Push({0.5f});  // not above one half: the second landing sound
    g.tmrDown_Timer();     // the drop stops the time bonus's count

    EXPECT_EQ(played, (std::vector<Channel>{C::mDown2, C::mDelLin1, C::mVorblin1}));
    // Line bonus 8000, time bonus 10 * 141 and cell bonus 4 * 8 before the place is
    // updated, then the special bonus 30005.
    EXPECT_EQ(g.scores.Score, 1000 + 8000 + 1410 + 32 + 30005);
    EXPECT_EQ(g.lstStatistic.Items, (Lines{"Level # 1...", "...Score : 100", "...Place : 1044",
                                           "...SUPER VORBLIN !!!", "1. +3945 -> 2 lines"}));
    EXPECT_EQ(testing::Panel(g.scores),
              "level=Level # 1\nlines to go=123456789\nscore=4045\n1 line=\n"
              "2 lines=2-Lines*1 = 800\n3 lines=\n4 lines=\nspecial bonus=  Vorblin Bonus : 3000\n"
              "time bonus=140\ntime bonus total=141\n");
    EXPECT_EQ(Shapes(), (Lines{"0000111010000000", kSuperFigure, kSquare, "0000111010000000"}));
    int flashes = 0;  // how long the new level's caption flashes
    for (; g.scores.tmrLevel.Enabled && flashes < 20; ++flashes)
        g.scores.tmrLevel_Timer(rig.rnd);
    EXPECT_EQ(Show("x", int{g.board.PosX}, "y", int{g.board.PosY}, "cells", g.scores.CellCounter,
                   "down", pad.cmdDown.Enabled && pad.cmdDown.BackColor == pad.ColorButtons,
                   "flashes", flashes, "log at", g.lstStatistic.ListIndex, "level colour",
                   g.scores.lblLevel.ForeColor, "speed", g.scores.Speed),
              Show("x", Board::kStartX, "y", 0, "cells", 4 + 12, "down", true, "flashes", 11,
                   "log at", 4, "level colour", QBColor(2), "speed", 15));
    // The next box: the super figure in blue, its last cell at (3, 3).
    EXPECT_EQ(rig.next.ops.back(), "filled 808,808-1002,1002 #FF0000");
}

TEST_F(GameTest, EachKeyPressesItsButtonActsOrNotAndEscPauses) {
    testing::Place(g.board, "0000011100010000", 8, 10);  // shape 1: .... / .#.. / .#.. / .##.
    const struct {
        int16_t key;
        const CommandButton* button;
        Colour pressed;
        std::vector<Channel> sounds;
        int x, cells;
    } steps[] = {
        {kKeyLeft, &pad.cmdLeftRight[0], kGreen, {C::mLeft1}, 7, 4},
        {kKeyRight, &pad.cmdLeftRight[2], kGreen, {C::mRight1}, 8, 4},
        {kKeyUp, &pad.cmdRotate, kYellow, {C::mRotate1}, 8, 4},
        {kKeySpace, &pad.cmdSpace, kYellow, {C::mInverse1}, 8, 12},
        {kKeyDown, &pad.cmdDown, kBlack, {C::mDrop2}, 8, 12},
        {kKeyDown, &pad.cmdDown, kBlack, {}, 8, 12},  // disabled until the landing
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.key);
        played.clear();
        const int focus = rig.shell.focusWell;
        g.Form_KeyDown(step.key);
        EXPECT_EQ(step.button->BackColor, step.pressed);
        EXPECT_EQ(played, step.sounds);
        EXPECT_EQ(int{g.board.PosX}, step.x);
        EXPECT_EQ(g.board.Figura.FilledCount(), step.cells);
        g.Form_KeyUp(step.key);  // the drop keeps its colour until the landing
        EXPECT_EQ(step.button->BackColor, step.key == kKeyDown ? kBlack : QBColor(1));
        EXPECT_EQ(rig.shell.focusWell, focus + (step.key == kKeyDown ? 0 : 1));
    }
    // Esc pauses and minimises; while paused the keys do nothing; Esc again resumes.
    for (int16_t key : {kKeyEscape, kKeyLeft, kKeyUp, kKeySpace, kKeyEscape})
        g.Form_KeyDown(key);
    EXPECT_EQ(Show("x", int{g.board.PosX}, "sounds", played.size(), "minimised",
                   rig.shell.minimized, "restored", rig.shell.restored, "falls", g.tmrDown.Enabled),
              Show("x", 8, "sounds", 0, "minimised", 1, "restored", 1, "falls", true));
    g.Set_chkPause(1);  // the pause button pauses, only Esc minimises
    EXPECT_EQ(Show("minimised", rig.shell.minimized, "falls", g.tmrDown.Enabled),
              Show("minimised", 1, "falls", false));
}

TEST_F(GameTest, TheDemoRestoresTheButtonsWaitsARandomTimeAndPressesLikeTheMouse) {
    // r = 0 to 23: invert, left 1-7, right 8-15, rotate 16-19, drop 20-21, invert 22-23; an
    // action as a letter, so that a failure reads as the buttons do.
    std::string pressed;
    for (int r = 0; r <= 23; ++r)
        pressed += "-LRTDI"[static_cast<int>(DemoActionFor(r))];
    EXPECT_EQ(pressed, "ILLLLLLLRRRRRRRRTTTTDDII");

    Demo demo(rig.rnd);
    // Each tick draws the wait (Rnd * 750 rounded, at least 1 ms), the button, and for a drop
    // its sound (the first above one half); the buttons it pressed before take their colour back.
    const struct {
        std::vector<float> draws;
        int interval;
        Channel sound;
    } ticks[] = {
        {{0.0f, 7.49f / 23}, 1, C::mLeft1},  // never 0: that would stop it
        {{0.99999994f, 7.51f / 23}, 750, C::mRight1}, {{0.1f, 16.0f / 23}, 75, C::mRotate1},
        {{0.1f, 21.49f / 23, 0.5f}, 75, C::mDrop2},   {{0.1f, 22.0f / 23}, 75, C::mInverse1},
    };
    for (const auto& t : ticks) {
        rig.rnd.script.assign(t.draws.begin(), t.draws.end());
        played.clear();
        demo.tmrDemo_Timer(g);
        EXPECT_EQ(demo.tmrDemo.Interval, t.interval);
        EXPECT_EQ(played, std::vector<Channel>{t.sound}) << t.interval;
    }
    EXPECT_EQ(Show("x", int{g.board.PosX}, "focus", rig.shell.focusWell, "left",
                   pad.cmdLeftRight[0].BackColor, "invert", pad.cmdSpace.BackColor),
              Show("x", Board::kStartX, "focus", 0, "left", QBColor(1), "invert", kYellow));
}

}  // namespace
}  // namespace vorblin
