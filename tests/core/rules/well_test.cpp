// The figures and the well: shapes and their choice, the moves the well allows, its drawing.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/rules/drawing.h"
#include "core/rules/figures.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::BoardWith;
using testing::Show;

// Shapes 0 to 6 as box pictures (rows 0 to 3, the string read column by column):
// .##./.#../.#../....  ..../.#../.#../.##.  .#../.#../.#../.#..  ..../.##./..##/....
// ..../..##/.##./....  ..../..#./.##./..#.  ..../.##./.##./....
TEST(Figures, SevenShapesByNumberAndOneInFiftySpecialWithARandomPattern) {
    testing::ScriptedRandom rnd;
    testing::FixedClock clock;
    FigureChooser chooser(rnd, clock);
    const char* const shapes[] = {"0000111010000000", "0000011100010000", "0000111100000000",
                                  "0000010001100010", "0000001001100100", "0000001001110000",
                                  "0000011001100000"};
    for (int n = 0; n < 7; ++n) {
        rnd.Push({0, (n + 0.5f) / 7, 0});  // warm-up, Fix(Rnd * 7) = n, not special
        EXPECT_EQ(chooser.Choose_Figure() + (chooser.NewIsVorblin ? " special" : ""), shapes[n]);
    }
    rnd.fallback = 0.5f;                               // no cell drawn: the super figure
    for (float m : {0.48f, 0.5f, 0.5199f, 0.5201f}) {  // only Int(m * 50) = 25 is special
        rnd.script = {0.0f, 0.0f, m};
        chooser.Choose_Figure();
        EXPECT_EQ(chooser.NewBonus, m == 0.5f || m == 0.5199f ? kSuperBonus : 0) << m;
    }
    // Warm-up 2s + 1, shape, one in fifty, s + 1 more warm-up, one draw per cell, the bonus.
    clock.seconds = 3;
    rnd.script = std::deque<float>(7, 0.1f);
    rnd.Push({0.0f, 0.5f, 0.3f, 0.3f, 0.3f, 0.3f});
    for (int k = 0; k < 16; ++k)  // one cell, row 0 of column 1: valid
        rnd.Push({k == 4 ? 0.8f : 0.79f});
    rnd.Push({0.99999994f});  // bonus 50000.9988 -> 50001
    const int draws = rnd.draws;
    EXPECT_EQ(chooser.Choose_Figure(), "0000100000000000");
    EXPECT_EQ(Show("bonus", chooser.NewBonus, "draws", rnd.draws - draws),
              Show("bonus", 50001, "draws", 7 + 2 + 4 + 16 + 1));
}

// Shapes by their box pictures (rows 0 to 3).
constexpr const char* kColumn0 = "1111000000000000";  // #... in every row
constexpr const char* kColumn3 = "0000000000001111";  // ...# in every row
constexpr const char* kRow0 = "1000100010001000";     // #### / .... / .... / ....
constexpr const char* kRow3 = "0001000100010001";     // .... / .... / .... / ####
constexpr const char* kRow1 = "0100010001000100";     // .... / #### / .... / ....
constexpr const char* kBar = "0000111100000000";      // .#.. in every row
constexpr const char* kSquare = "0000011001100000";   // .... / .##. / .##. / ....
constexpr const char* kFull = "1111111111111111";

TEST(Board, EachTestKeepsTheFilledCellsInsideTheWellAndOffItsCells) {
    enum Test { Fall, Left, Right, Turn, Invert, Over };
    const struct {
        Test test;
        const char* shape;
        int x, y;
        std::vector<std::pair<int, int>> filled;  // well cells (column, row)
        bool allowed;
    } cases[] = {
        {Fall, kColumn3, 5, 10, {{8, 14}}, false},    // box column 3 on a cell
        {Fall, kBar, 5, 10, {{5, 14}}, true},         // a cell under an empty box cell
        {Fall, kRow3, 5, 27, {}, false},              // lowest cell on row 30
        {Fall, kRow3, 5, 26, {}, true},               // lowest cell on row 29
        {Left, kColumn0, 5, 10, {}, true},            // into column 4
        {Left, kColumn0, 4, 10, {}, false},           // into column 3
        {Left, kRow0, 5, 10, {{4, 10}}, false},       // onto a cell beside box row 0
        {Right, kColumn3, 14, 10, {}, true},          // into column 18
        {Right, kColumn3, 15, 10, {}, false},         // into column 19
        {Right, kColumn0, 17, 10, {}, true},          // empty box columns over the edge
        {Right, kRow3, 5, 10, {{9, 13}}, false},      // onto a cell beside box row 3
        {Turn, kBar, 4, 10, {}, true},                // a cell onto column 4
        {Turn, kBar, 3, 10, {}, false},               // a cell onto column 3
        {Turn, kBar, 15, 10, {}, true},               // a cell onto column 18
        {Turn, kBar, 16, 10, {}, false},              // a cell onto column 19
        {Turn, kRow1, 8, 27, {}, true},               // a cell onto row 30
        {Turn, kRow1, 8, 28, {}, false},              // a cell onto row 31
        {Turn, kBar, 5, 10, {{8, 11}}, false},        // onto a cell of the new row 1
        {Invert, kSquare, 4, 10, {}, true},           // PosX 4
        {Invert, kSquare, 15, 10, {}, true},          // PosX 15
        {Invert, kSquare, 3, 10, {}, false},          // PosX 3
        {Invert, kSquare, 16, 10, {}, false},         // PosX 16
        {Invert, kSquare, 8, 10, {{11, 13}}, false},  // under a corner
        {Invert, kSquare, 8, 10, {{12, 10}, {7, 11}, {9, 9}, {9, 14}}, true},  // around it
        {Invert, kRow0, 8, 27, {}, true},   // empty cells would fill row 30
        {Invert, kRow0, 8, 28, {}, false},  // empty cells would fill row 31
        {Invert, kFull, 8, 10, {}, false},  // a full box would leave nothing
        // A game ends only on an overlap at the start: a cell under the box (its corners) ends
        // it, cells beside or below it do not.
        {Over, kFull, 9, 0, {{9, 0}}, true},
        {Over, kFull, 9, 0, {{12, 3}}, true},
        {Over, kFull, 9, 0, {{8, 0}, {13, 3}, {9, 4}, {12, 4}}, false},
    };
    for (const auto& c : cases) {
        Board board = BoardWith(c.shape, c.x, c.y);
        for (auto [x, y] : c.filled)
            board.C(x, y) = true;
        const FigureMatrix before = board.Figura;
        const bool allowed = c.test == Fall    ? board.Enable_Move_Down()
                             : c.test == Left  ? board.Enable_Move_Left_Right(0)
                             : c.test == Right ? board.Enable_Move_Left_Right(2)
                             : c.test == Turn  ? board.Rotate_Figure()
                             : c.test == Over  ? board.GameOver()
                                               : board.Enable_Inverse();
        EXPECT_EQ(allowed, c.allowed) << "case " << &c - cases;
        EXPECT_EQ(board.Figura == before, c.test != Turn || !c.allowed) << "case " << &c - cases;
    }
    // The bar's turn onto the cell in the new row 1 holds which way a turn goes: clockwise.
}

TEST(DrawWell, FieldGridAndFigureCoverTheWholeWell) {
    Board board = BoardWith(kColumn0, 16, 27);  // a column in well column 16, rows 27 to 30
    const int right = board.LastColumn(), bottom = board.LastRow();
    board.C(4, 0) = board.C(right, 0) = board.C(4, bottom) = board.C(right, bottom) = true;
    testing::RecordingSurface s;
    s.ops = {"filled 528,528-722,722 #FFFF"};  // an old cell at (6, 2), cleared first
    Draw_Field(s, board);
    EXPECT_EQ(s.Cells(4, 0, right, 1) + s.Cells(4, bottom, right, bottom),
              testing::Joined({"#             #", "               ", "#             #"}));
    // Lines every cell through the hidden margin; the first place (Position 0) has its own
    // colour, (200, 200, 210).
    Draw_Grid(s, board, 0);
    Draw_Grid(s, board, 1);
    EXPECT_EQ(Show("lines", std::ranges::count_if(s.ops, [](auto& op) { return op[0] == 'l'; }),
                   "first", s.ops[6], "last", s.ops.back()),
              Show("lines", 2 * (23 + 35), "first", "line 0,0-0,8500 #D2C8C8", "last",
                   "line 0,8500-5500,8500 #AFAF96"));
    // The figure's redraw spares landed cells and stops at the margin, from column 19 on.
    Draw_Figure(s, board);
    EXPECT_EQ(s.Cells(15, 30, 20, 30), ".o.#. \n");
    // At the left wall it starts in the margin's last column; the box's top and bottom rows are the
    // figure's.
    Draw_Figure(s, BoardWith("0000000000001001", 4, 1));
    EXPECT_EQ(s.Cells(2, 1, 8, 1) + s.Cells(2, 4, 8, 4), " ....o.\n ....o.\n");
    // The three figures after the next, one below the other, each in 4 × 4 outlined cells; a
    // shape shorter than its box fills the rest empty.
    FigureQueue queue;
    queue(3).Shape = "1", queue(4).Shape = "01", queue(5).Shape = "0000000000000001";
    s.ops.clear();
    Draw_Future(s, queue);
    std::string yellow;
    for (const std::string& op : s.ops)
        yellow += op.ends_with("#FFFF") ? op + ";" : "";
    EXPECT_EQ(Show("cells", s.ops.size() - 1, "yellow", yellow),
              Show("cells", 48, "yellow",
                   "outline 278,278-472,472 #FFFF;outline 278,1728-472,1922 "
                   "#FFFF;outline 1028,3428-1222,3622 #FFFF;"));
}

}  // namespace
}  // namespace vorblin
