// The rules core as the player meets it: the figures and the well, the start, the fall and
// its clock, landings, the keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <functional>

#include "core/base/numbers.h"
#include "core/rules/drawing.h"
#include "core/rules/figures.h"
#include "core/rules/tick_clock.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::BoardWith;
using testing::FixedClock;
using testing::Joined;
using testing::Panel;
using testing::RecordingSurface;
using testing::ScriptedRandom;
using testing::Seen;

// The figure as rows 0..3 of its box, each row columns 0..3, '#' filled.
std::string Picture(const std::string& shape, int16_t& counter) {
    FigureMatrix m;
    Initialize_Array_For_Brikko(m, shape, counter);
    std::string text;
    for (int b = 0; b < 4; ++b) {
        for (int a = 0; a < 4; ++a)
            text += m(a, b) ? '#' : '.';
        text += b < 3 ? "/" : "";
    }
    return text;
}

TEST(Figures, TheSevenShapesAreChosenByNumberAndReadColumnByColumn) {
    ScriptedRandom rnd;
    FixedClock clock;
    FigureChooser chooser(rnd, clock);
    int16_t counter = 0;
    std::string pictures;
    for (int n = 0; n < 7; ++n) {
        rnd.Push({0, (n + 0.5f) / 7, 0});  // warm-up, Fix(Rnd * 7) = n, not special
        pictures += Picture(chooser.Choose_Figure(), counter) + " ";
    }
    EXPECT_EQ(pictures,
              ".##./.#../.#../.... ..../.#../.#../.##. .#../.#../.#../.#.. ..../.##./..##/.... "
              "..../..##/.##./.... ..../..#./.##./..#. ..../.##./.##./.... ");
    EXPECT_EQ(Picture(kSuperFigure, counter), "####/.#.#/.#.#/####");
    // Every conversion counts its cells again (the next figure once as next, once falling).
    EXPECT_EQ(counter, 7 * 4 + 12);
}

TEST(Figures, AChoiceWarmsUpByTheClockAndOneInFiftyIsSpecialWithARandomPattern) {
    ScriptedRandom rnd;
    FixedClock clock;
    clock.seconds = 7;
    FigureChooser chooser(rnd, clock);
    rnd.script = std::deque<float>(15, 0.9f);  // 2s + 1 discarded
    rnd.Push({3.5f / 7, 0.49f});               // shape 3; Int(24.5) = 24: ordinary
    EXPECT_EQ(chooser.Choose_Figure(), "0000010001100010");
    EXPECT_EQ(rnd.draws, 17);

    clock.seconds = 0;
    rnd.fallback = 0.5f;
    for (float m : {0.48f, 0.5f, 0.5199f, 0.5201f}) {  // only Int(m * 50) = 25 is special
        rnd.script = {0.0f, 0.0f, m};
        chooser.Choose_Figure();
        EXPECT_EQ(chooser.NewIsVorblin, m == 0.5f || m == 0.5199f) << m;
        EXPECT_EQ(chooser.NewBonus, chooser.NewIsVorblin ? kSuperBonus : 0) << m;  // no cell: super
    }

    // A special figure's pattern: s + 1 more warm-up draws, then one draw per cell.
    clock.seconds = 3;
    rnd.script = std::deque<float>(7, 0.1f);         // warm-up 2s + 1
    rnd.Push({0.0f, 0.5f, 0.3f, 0.3f, 0.3f, 0.3f});  // shape, Int(25), warm-up s + 1
    // One filled cell (row 0 of column 1): a single-cell figure is valid.
    for (int k = 0; k < 16; ++k)
        rnd.Push({k == 4 ? 0.8f : 0.79f});
    rnd.Push({0.99999994f});  // bonus 50000.9988 -> 50001
    EXPECT_EQ(chooser.Choose_Figure(), "0000100000000000");
    EXPECT_EQ(Seen(chooser.NewIsVorblin, chooser.NewBonus), "1|50001|");
    EXPECT_EQ(rnd.draws, 17 + (4 * 3 + 2 * 17) + 7 + 2 + 4 + 16 + 1);

    rnd.script = std::deque<float>(7, 0.1f);
    rnd.Push({0.0f, 0.5f});
    rnd.fallback = 0.0f;  // every cell empty
    EXPECT_EQ(Seen(chooser.Choose_Figure(), chooser.NewBonus), Seen(kSuperFigure, kSuperBonus));
}

TEST(Numbers, RoundingFixAndIntTellHalvesAndNegativesApart) {
    std::string seen;  // nearest (halves to even), Fix and Int of each value
    for (double x : {0.5, 1.5, 2.5, 2.7, -0.5, -1.5, -2.5, -2.7})
        seen += std::to_string(RoundHalfEven(x)) + "," + std::to_string(Fix(x)) + "," +
                std::to_string(Int(x)) + " ";
    EXPECT_EQ(seen, "0,0,0 2,1,1 2,2,2 3,2,2 0,0,-1 -2,-1,-2 -2,-2,-3 -3,-2,-3 ");
    EXPECT_EQ(std::to_string(Shown(25)) + std::to_string(Shown(35)) + std::to_string(Shown(-15)),
              "24-2");              // tenths as shown
    int16_t count = INT16_MAX - 1;  // a 16-bit count stops instead of wrapping
    CountUp(count);
    CountUp(count);
    EXPECT_EQ(count, INT16_MAX);
}

TEST(Figures, TheClockGivesTheSecondsOfTheTimeOfDayAndTheDate) {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char date[16];
    std::strftime(date, sizeof date, "%d.%m.%Y", &parts);
    SystemClock clock;
    EXPECT_LE((clock.Seconds() - parts.tm_sec + 60) % 60, 1);
    EXPECT_EQ(clock.ShortDate(), date);  // read within a second of the clock above
}

// Box pictures (rows 0 to 3) of the shapes used below.
constexpr const char* kColumn0 = "1111000000000000";  // #... in every row
constexpr const char* kColumn3 = "0000000000001111";  // ...# in every row
constexpr const char* kRow0 = "1000100010001000";     // #### / .... / .... / ....
constexpr const char* kRow3 = "0001000100010001";     // .... / .... / .... / ####
constexpr const char* kBar = "0000111100000000";      // .#.. in every row
constexpr const char* kSquare = "0000011001100000";   // .... / .##. / .##. / ....
constexpr const char* kFull = "1111111111111111";

struct Case {
    const char* what;
    const char* shape;
    int x, y;
    std::vector<std::pair<int, int>> filled;  // well cells (column, row)
    bool allowed;
};

void Check(const std::function<bool(Board&)>& test, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        Board board = BoardWith(c.shape, c.x, c.y);
        for (auto [x, y] : c.filled)
            board.C(x, y) = true;
        EXPECT_EQ(test(board), c.allowed) << c.what;
    }
}

TEST(Board, FallStopsOnTheLastRowAndOnFilledCellsRightBelow) {
    Check([](Board& b) { return b.Enable_Move_Down(); },
          {{"box column 0 on a cell", kColumn0, 5, 10, {{5, 14}}, false},
           {"box column 3 on a cell", kColumn3, 5, 10, {{8, 14}}, false},
           {"box row 0 on a cell", kRow0, 5, 10, {{7, 11}}, false},
           {"a cell two rows below", kRow0, 5, 10, {{7, 12}}, true},
           {"a cell beside the box", kColumn3, 5, 10, {{9, 14}}, true},
           {"a cell under an empty box cell", kBar, 5, 10, {{5, 14}}, true},
           {"lowest cell on row 30", kRow3, 5, 27, {}, false},
           {"lowest cell on row 29", kRow3, 5, 26, {}, true}});
}

TEST(Board, MovesKeepTheFilledCellsInColumnsFourToEighteen) {
    auto left = [](Board& b) { return b.Enable_Move_Left_Right(0); };
    auto right = [](Board& b) { return b.Enable_Move_Left_Right(2); };
    Check(left, {{"into column 4", kColumn0, 5, 10, {}, true},
                 {"into column 3", kColumn0, 4, 10, {}, false},
                 {"empty box columns over the edge", kColumn3, 2, 10, {}, true},
                 {"from PosX 1", kColumn3, 1, 10, {}, false},
                 {"onto a cell beside box row 0", kRow0, 5, 10, {{4, 10}}, false},
                 {"a cell below the box", kRow0, 5, 10, {{4, 14}}, true}});
    Check(right, {{"into column 18", kColumn3, 14, 10, {}, true},
                  {"into column 19", kColumn3, 15, 10, {}, false},
                  {"empty box columns over the edge", kColumn0, 17, 10, {}, true},
                  {"from PosX 18", kColumn0, 18, 10, {}, false},
                  {"onto a cell beside box row 3", kRow3, 5, 10, {{9, 13}}, false}});
}

TEST(Board, RotationTurnsClockwiseInPlaceOrNotAtAll) {
    Board board = BoardWith(kBar, 8, 5);  // cell (c, r) goes to (3 - r, c)
    ASSERT_TRUE(board.Rotate_Figure());
    EXPECT_EQ(board.Figura, BoardWith("0100010001000100", 8, 5).Figura);  // .... / #### / ...
    Check(
        [](Board& b) {
            const FigureMatrix before = b.Figura;
            const bool turned = b.Rotate_Figure();
            EXPECT_EQ(turned, !(b.Figura == before));
            return turned;
        },
        {{"a cell onto column 4", kBar, 4, 10, {}, true},
         {"a cell onto column 3", kBar, 3, 10, {}, false},
         {"a cell onto column 18", kBar, 15, 10, {}, true},
         {"a cell onto column 19", kBar, 16, 10, {}, false},
         {"a cell onto row 30", "0100010001000100", 8, 27, {}, true},
         {"a cell onto row 31", "0100010001000100", 8, 28, {}, false},
         {"a column on the floor into a row at its top", kColumn0, 5, 27, {}, true},
         {"onto a cell of the new row 0", kColumn0, 5, 10, {{6, 10}}, false},
         {"onto a cell of the new row 1", kBar, 5, 10, {{8, 11}}, false}});
}

TEST(Board, InversionNeedsTheWholeBoxInsideEmptyAndAboveTheFloor) {
    Check([](Board& b) { return b.Enable_Inverse(); },
          {{"PosX 4", kSquare, 4, 10, {}, true},
           {"PosX 15", kSquare, 15, 10, {}, true},
           {"PosX 3", kSquare, 3, 10, {}, false},
           {"PosX 16", kSquare, 16, 10, {}, false},
           {"a cell under an empty box corner", kSquare, 8, 10, {{11, 13}}, false},
           {"a cell under box row 0", kSquare, 8, 10, {{8, 10}}, false},
           {"cells around the box", kSquare, 8, 10, {{12, 10}, {7, 11}, {9, 9}, {9, 14}}, true},
           {"empty cells would fill row 30", kRow0, 8, 27, {}, true},
           {"empty cells would fill row 31", kRow0, 8, 28, {}, false},
           {"a full box would leave nothing", kFull, 8, 10, {}, false}});
}

TEST(Board, WritesTheFigureAndEndsTheGameOnlyOnAnOverlapAtTheStart) {
    Board board = BoardWith(kFull, 8, 26);
    board.WriteFigure();
    EXPECT_EQ(testing::BottomPicture(board, 6),
              Joined({"...............", "....####.......", "....####.......", "....####.......",
                      "....####.......", "..............."}));
    for (int cell = 0; cell < 16; ++cell) {  // any cell of the box
        board = BoardWith(kFull, 9, 0);
        board.C(9 + cell % 4, cell / 4) = true;
        EXPECT_TRUE(board.GameOver()) << cell;
    }
    board = BoardWith(kFull, 9, 0);
    for (int x = 4; x <= 18; ++x)
        board.C(x, 4) = true;  // the row below the box
    for (int y = 0; y < 4; ++y)
        board.C(8, y) = board.C(13, y) = true;  // the columns beside it
    EXPECT_FALSE(board.GameOver());
}

TEST(DrawWell, FieldShowsTheLandedCellsOverTheWholeWellAndTheGridItsPlaceColour) {
    Board board = BoardWith("", 9, 0);
    board.C(4, 0) = board.C(18, 0) = board.C(4, 30) = board.C(18, 30) = board.C(11, 15) = true;
    RecordingSurface s;
    s.ops = {"filled 528,528-722,722 #FFFF"};  // an old cell, cleared first
    Draw_Field(s, board);
    EXPECT_EQ(s.Cells(4, 0, 18, 0) + s.Cells(4, 30, 18, 30), "#             #\n#             #\n");
    EXPECT_EQ(Seen(s.Cells(11, 15, 11, 15), s.ops.size()), "#\n|7|");  // the old cell, a clear, 5
    for (int16_t place : {0, 1, 7}) {  // the first place (Position 0) has its own colour
        s.ops.clear();
        Draw_Grid(s, board, place);
        const std::string colour = place == 0 ? " #D2C8C8" : " #AFAF96";
        EXPECT_EQ(Seen(s.ops.size(), s.ops.front(), s.ops[22], s.ops[23], s.ops.back()),
                  Seen(23 + 35, "line 0,0-0,8500" + colour, "line 5500,0-5500,8500" + colour,
                       "line 0,0-5500,0" + colour, "line 0,8500-5500,8500" + colour));
    }
}

TEST(DrawWell, FigureRedrawsSixColumnsByFiveRowsAndSparesLandedCells) {
    struct Case {
        const char* shape;
        int x, y;
        std::vector<std::string> window;  // columns x - 1 to x + 4, rows y - 1 (or 0) on
    };
    const Case cases[] = {
        {"0000111100000000", 10, 5, {"......", "..o...", "..o ..", "..o...", "..o..."}},
        {"1111000000000000", 4, 0, {".o....", ".o....", ".o....", ".o....", "......"}},
        {"0000000000001111", 1, 7, {"   ...", "   .o.", "   .o.", "   .o.", "   .o."}},
        {"1111000000000000", 16, 7, {"..... ", ".o... ", ".o... ", ".o... ", ".o... "}},
    };
    for (const Case& c : cases) {
        Board board = BoardWith(c.shape, c.x, c.y);  // the next figure sits beside it
        board.C(12, 6) = true;                       // a landed cell: left as it is
        RecordingSurface s;
        Draw_Figure(s, board);
        const int top = c.y == 0 ? 0 : c.y - 1;
        EXPECT_EQ(s.Cells(c.x - 2, top - 1, c.x + 5, top + 5),
                  Joined({"        ", " " + c.window[0] + " ", " " + c.window[1] + " ",
                          " " + c.window[2] + " ", " " + c.window[3] + " ", " " + c.window[4] + " ",
                          "        "}))
            << c.shape << " at " << c.x;
        EXPECT_EQ(s.Count("cls"), 0);
    }
}

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
    EXPECT_EQ(Seen(rig.rnd.draws, g.scores.CellCounter, g.lblPosition.Caption, Panel(g.scores),
                   g.scores.lblScore.ForeColor, g.tmrDown.Enabled, g.pad.EnableControls,
                   g.pad.cmdDown.Enabled, g.notice.lblFirma.Visible, g.pad.bDrop,
                   rig.well.LinesSinceCls(), rig.well.ops.back()),
              "65|8|Place # 99|Level # 0||---|||||||40000|65535|1|1|1|0|0|58|"
              "line 0,8500-5500,8500 #AFAF96|");
    EXPECT_EQ(rig.well.Cells(8, 0, 13, 4), kSquareAtTop);
    EXPECT_EQ(Last(rig.next, 5),
              (Lines{"cls", "filled 308,308-502,502 #FFFF00", "filled 308,558-502,752 #FFFF00",
                     "filled 308,808-502,1002 #FFFF00", "filled 558,808-752,1002 #FFFF00"}));
    EXPECT_EQ(Seen(rig.future.ops.size(), rig.future.ops[5]),  // Queue(3), the bar: cell (1, 0)
              "49|outline 528,278-722,472 #FFFF|");

    // The button colour is never palette entry 0, and a full table shows no place.
    for (auto [draw, colour] : {std::pair{0.0f, 1}, {0.99999994f, 15}}) {
        testing::GameRig other;
        other.records.tableLines = 99;
        other.rnd.Push({0, draw});
        other.game.Form_Load();
        EXPECT_EQ(Seen(other.game.pad.ColorButtons, other.game.lblPosition.Caption),
                  Seen(QBColor(colour), ""));
    }
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
    EXPECT_EQ(Seen(g.scores.TimeBonusTotal, g.lstStatistic.Items.back(),
                   g.scores.lblTimeBonus.Caption, g.scores.lblTotalScore.Caption),
              "191|1. +194|190|191|");
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
              "Level # 1|12345678|4045||2-Lines*1 = 800|||  Vorblin Bonus : 3000|140|141");
    EXPECT_EQ(Shapes(g.Queue), (Lines{kSquare, kSuperFigure, "1000000000000000", "0000000000000001",
                                      "0000111010000000"}));
    EXPECT_EQ(g.board.Figura, BoardWith(kSquare, 9, 0).Figura);
    // Score 1000 + 8000 + 1410 + 32 + 30005; 4 + 12 cells of the new figure and next figure.
    EXPECT_EQ(
        Seen(g.scores.Score, g.lstStatistic.ListIndex, int{g.board.PosX}, int{g.board.PosY},
             g.TickCount, g.scores.TimeTicks, g.scores.CellCounter, g.pad.cmdDown.Enabled,
             g.notice.lblFirma.Visible, g.pad.bDrop, g.pad.cmdDown.BackColor == g.pad.ColorButtons),
        "40447|4|9|0|0|0|16|1|1|0|1|");
    // The well: the field after the removal, the grid, then the new figure at the top.
    EXPECT_EQ(rig.well.Cells(8, 0, 13, 4), kSquareAtTop);
    EXPECT_EQ(rig.well.Cells(9, 28, 9, 30) + std::to_string(rig.well.LinesSinceCls()),
              " \n#\n#\n58");
    EXPECT_EQ(Last(rig.next, 13).front() + rig.next.ops.back(),  // the super figure in blue
              "cls"
              "filled 808,808-1002,1002 #FF0000");
    // The future boxes: queue 3's cell (0, 0), queue 4's cell (3, 3), 42 empty cells grey.
    const Lines future = Last(rig.future, 49);
    EXPECT_EQ(Seen(future[0], future[1], future[32],
                   std::count_if(future.begin(), future.end(),
                                 [](const std::string& op) { return op.ends_with(" #787878"); })),
              "cls|outline 278,278-472,472 #FFFF|outline 1028,2228-1222,2422 #FFFF|42|");
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
    EXPECT_EQ(Seen(seen, g.scores.Score, g.scores.Speed, g.scores.lblScore.Caption),
              "203 1. +203|0|0|---|");
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
    EXPECT_EQ(Seen(pad.cmdLeftRight[0].BackColor, pad.cmdLeftRight[2].BackColor),
              Seen(QBColor(1), QBColor(1)));

    // Refused actions still colour their buttons; only the turn sounds.
    rig.SetFigure("0000111100000000", 3, 10);  // a bar against the left wall
    played.clear();
    rig.well.ops.clear();
    for (int16_t key : {kKeyLeft, kKeyUp, kKeySpace})  // the box reaches column 3
        g.Form_KeyDown(key);
    EXPECT_EQ(g.board.Figura, BoardWith("0000111100000000", 3, 10).Figura);
    EXPECT_EQ(played, std::vector<Channel>{Channel::mRotate1});
    // The turn redraws the figure as it is.
    EXPECT_EQ(Seen(int{g.board.PosX}, g.pad.cmdLeftRight[0].BackColor, g.pad.cmdSpace.BackColor,
                   rig.well.Count("outline")),
              Seen(3, kGreen, kYellow, 4));
}

TEST_F(InputTest, DownDropsOnceAndItsReleaseOnlyHandsTheFocusBack) {
    rig.rnd.Push({0.50000006f, 0.5f});
    g.Form_KeyDown(kKeyDown);
    g.Form_KeyDown(kKeyDown);  // the button is disabled now
    EXPECT_EQ(played, std::vector<Channel>{Channel::mDrop1});
    g.Form_KeyUp(kKeyDown);
    g.cmdDown_MouseUp();
    EXPECT_EQ(
        Seen(g.pad.bDrop, g.pad.cmdDown.Enabled, g.pad.cmdDown.BackColor, rig.shell.focusWell),
        "1|0|0|1|");
    g.pad.cmdDown.Enabled = true;
    g.Form_KeyDown(kKeyDown);  // exactly one half is not above it: the second sound
    EXPECT_EQ(played.back(), Channel::mDrop2);
}

TEST_F(InputTest, EscapePausesAndMinimisesWhileThePauseButtonOnlyPauses) {
    rig.next.ops.clear();
    g.Form_KeyDown(kKeyEscape);
    // The figure and the next figure are redrawn on pausing and on resuming.
    EXPECT_EQ(Seen(g.pad.chkPause.Value, g.pad.fraControl.Visible, g.tmrDown.Enabled,
                   g.pad.EnableControls, g.pad.bEscape, rig.next.Count("cls"), Shown()),
              "1|0|0|0|0|1|....../....../..o.../..o.../..oo../|");
    for (int key : {37, 39, 38, 40, 32, 65})  // the game keys and one other
        g.Form_KeyDown(static_cast<int16_t>(key));
    g.cmdSpace_MouseDown();
    EXPECT_EQ(Seen(int{g.board.PosX}, g.board.Figura.FilledCount(), g.pad.bDrop, played.size()),
              "8|4|0|0|");
    rig.well.ops.clear();
    g.Form_KeyDown(kKeyEscape);
    EXPECT_EQ(Seen(g.pad.fraControl.Visible, g.tmrDown.Enabled, g.pad.EnableControls,
                   rig.well.Count("outline"), rig.next.Count("cls")),
              "1|1|1|4|2|");
    g.Set_chkPause(1);  // minimised only by Esc, restored once, the focus back each time
    EXPECT_EQ(Seen(rig.shell.minimized, rig.shell.restored, rig.shell.focusWell), "1|1|3|");
}

constexpr int64_t kMs = 1'000'000;

TEST(TickClock, CountsDueTicksRunsThemAndSleepsAFrameAtLeast) {
    TickClock clock;
    EXPECT_EQ(clock.Due(100 * kMs), 0);  // not started
    clock.Start(10 * kMs);
    EXPECT_EQ(Seen(clock.Due(10 * kMs), clock.Due(12 * kMs - 1), clock.Due(12 * kMs),
                   clock.Due(31 * kMs), clock.Due(5 * kMs)),
              "0|0|1|10|0|");
    int ticks = 0;
    EXPECT_EQ(clock.RunDue(31 * kMs, [&] { ++ticks; }), 10);
    EXPECT_EQ(Seen(ticks, clock.Due(31 * kMs), clock.Due(32 * kMs)), "10|0|1|");
    // The next fall step 50 ticks ahead of the last tick run (at 30 ms): at 130 ms; a
    // step closer than a frame waits a frame.
    EXPECT_EQ(
        Seen(clock.WakeAt(31 * kMs, 50), clock.WakeAt(31 * kMs, 1), clock.WakeAt(31 * kMs, 8),
             clock.WakeAt(31 * kMs, 9)),
        Seen(130 * kMs, 31 * kMs + TickClock::kFrameNs, 31 * kMs + TickClock::kFrameNs, 48 * kMs));

    clock.Stop();
    EXPECT_EQ(clock.Due(1000 * kMs), 0);
    EXPECT_EQ(clock.RunDue(1000 * kMs, [&] { ++ticks; }), 0);
    clock.Start(1000 * kMs);  // resumed: nothing owed for the pause
    EXPECT_EQ(clock.Due(1003 * kMs), 1);
}

TEST(TickClock, ATickThatStopsOrRestartsTheClockEndsTheBatch) {
    TickClock clock;
    clock.Start(0);
    int ticks = 0;
    EXPECT_EQ(clock.RunDue(20 * kMs,
                           [&] {
                               if (++ticks == 3)
                                   clock.Stop();
                           }),
              3);
    clock.Start(0);
    ticks = 0;
    EXPECT_EQ(clock.RunDue(20 * kMs,
                           [&] {
                               if (++ticks == 4)
                                   clock.Start(8 * kMs);  // as after a game over's dialogs
                           }),
              4);
    EXPECT_EQ(clock.Due(20 * kMs), 6);
}

TEST(TickClock, TheGameSaysWhenTheNextVisibleChangeComes) {
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
    EXPECT_EQ(Seen(until(0, 0), until(149, 0), until(100, 15), until(200, 15)), "150|1|35|1|");
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
