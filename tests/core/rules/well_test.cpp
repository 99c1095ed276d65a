// The figures and the well: shapes and their choice, the moves the well allows, its drawing.
#include <gtest/gtest.h>

#include <functional>

#include "core/rules/drawing.h"
#include "core/rules/figures.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::BoardWith;
using testing::FixedClock;
using testing::Joined;
using testing::RecordingSurface;
using testing::ScriptedRandom;

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
    EXPECT_EQ(SEEN(chooser.NewIsVorblin, chooser.NewBonus),
              "chooser.NewIsVorblin=true\nchooser.NewBonus=50001\n");
    EXPECT_EQ(rnd.draws, 17 + (4 * 3 + 2 * 17) + 7 + 2 + 4 + 16 + 1);

    rnd.script = std::deque<float>(7, 0.1f);
    rnd.Push({0.0f, 0.5f});
    rnd.fallback = 0.0f;  // every cell empty
    EXPECT_EQ(chooser.Choose_Figure(), kSuperFigure);
    EXPECT_EQ(chooser.NewBonus, kSuperBonus);
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
    EXPECT_EQ(SEEN(s.Cells(11, 15, 11, 15), s.ops.size()),
              "s.Cells(11, 15, 11, 15)=#\n\ns.ops.size()=7\n");  // the old cell, a clear, 5
    for (int16_t place : {0, 1, 7}) {  // the first place (Position 0) has its own colour
        s.ops.clear();
        Draw_Grid(s, board, place);
        const std::string colour = place == 0 ? " #D2C8C8" : " #AFAF96";
        EXPECT_EQ(s.ops.size(), 23u + 35) << place;
        EXPECT_EQ(s.ops.front(), "line 0,0-0,8500" + colour) << place;
        EXPECT_EQ(s.ops[22], "line 5500,0-5500,8500" + colour) << place;
        EXPECT_EQ(s.ops[23], "line 0,0-5500,0" + colour) << place;
        EXPECT_EQ(s.ops.back(), "line 0,8500-5500,8500" + colour) << place;
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

}  // namespace
}  // namespace vorblin
