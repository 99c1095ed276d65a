#include <gtest/gtest.h>

#include <algorithm>

#include "game/drawing.h"
#include "support/fakes.h"
#include "support/well_picture.h"

namespace vorblin {
namespace {

using testing::BoardWith;
using testing::RecordingSurface;

TEST(DrawWell, FieldShowsTheLandedCellsOverTheWholeWellAndTheGridItsPlaceColour) {
    Board board = BoardWith("", 9, 0);
    board.C(4, 0) = board.C(18, 0) = board.C(4, 30) = board.C(18, 30) = board.C(11, 15) = true;
    RecordingSurface s;
    s.ops = {"filled 528,528-722,722 #FFFF"};  // an old cell, cleared first
    Draw_Field(s, board);
    EXPECT_EQ(s.Cells(4, 0, 18, 0) + s.Cells(4, 30, 18, 30), "#             #\n#             #\n");
    EXPECT_EQ(s.Cells(11, 15, 11, 15), "#\n");
    EXPECT_EQ(s.ops.size(), 1u + 1u + 5u);
    for (int16_t place : {0, 1, 7}) {
        s.ops.clear();
        Draw_Grid(s, board, place);  // the first place (Position 0) has its own colour
        const std::string colour = place == 0 ? " #D2C8C8" : " #AFAF96";
        EXPECT_EQ(s.ops.size(), 23u + 35u);
        EXPECT_EQ(s.ops.front(), "line 0,0-0,8500" + colour);
        EXPECT_EQ(s.ops[22], "line 5500,0-5500,8500" + colour);
        EXPECT_EQ(s.ops[23], "line 0,0-5500,0" + colour);
        EXPECT_EQ(s.ops.back(), "line 0,8500-5500,8500" + colour);
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
                  testing::Joined({"        ", " " + c.window[0] + " ", " " + c.window[1] + " ",
                                   " " + c.window[2] + " ", " " + c.window[3] + " ",
                                   " " + c.window[4] + " ", "        "}))
            << c.shape << " at " << c.x;
        EXPECT_EQ(s.Count("cls"), 0);
    }
}

TEST(DrawPreviews, NextFillsInItsColourAndFutureOutlinesThreeShapes) {
    FigureMatrix next;
    int16_t counter = 0;
    Initialize_Array_For_Brikko(next, "1000000000000001", counter);  // corners (0, 0), (3, 3)
    RecordingSurface s;
    Draw_Next(s, next, kRed);
    EXPECT_EQ(s.ops, (std::vector<std::string>{"cls", "filled 58,58-252,252 #FF",
                                               "filled 808,808-1002,1002 #FF"}));

    FigureQueue queue;
    queue(2).Shape = kSuperFigure;  // the next figure is not in the Future window
    queue(3).Shape = "1000000000000000";
    queue(4).Shape = "0000000000000001";
    queue(5).Shape = "0100000000000000";
    s.ops.clear();
    Draw_Future(s, queue);
    ASSERT_EQ(s.ops.size(), 1u + 48u);
    EXPECT_EQ(s.ops[0], "cls");
    std::vector<std::string> yellow;
    for (const std::string& op : s.ops)
        if (op.ends_with("#FFFF"))
            yellow.push_back(op);
    EXPECT_EQ(yellow, (std::vector<std::string>{
                          "outline 278,278-472,472 #FFFF",      // queue 3, cell (0, 0)
                          "outline 1028,2228-1222,2422 #FFFF",  // queue 4, cell (3, 3)
                          "outline 278,2928-472,3122 #FFFF",    // queue 5, cell (0, 1)
                      }));
    EXPECT_EQ(std::count(s.ops.begin(), s.ops.end(), "outline 278,528-472,722 #787878"), 1);
}

}  // namespace
}  // namespace vorblin
