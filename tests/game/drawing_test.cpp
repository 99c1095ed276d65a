#include <gtest/gtest.h>

#include <algorithm>

#include "game/drawing.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::RecordingSurface;

bool Has(const RecordingSurface& s, const std::string& op) {
    return std::find(s.ops.begin(), s.ops.end(), op) != s.ops.end();
}

Board WithFigure(const char* shape, int x, int y) {
    Board board;
    board.Reset();
    int16_t counter = 0;
    Initialize_Array_For_Brikko(board.Figura, shape, counter);
    board.PosX = static_cast<uint8_t>(x);
    board.PosY = static_cast<uint8_t>(y);
    return board;
}

TEST(DrawWell, FieldClearsAndFillsThenTheGridRunsPastTheSurface) {
    Board board = WithFigure("", 9, 0);
    board.C(4, 30) = board.C(18, 0) = true;
    RecordingSurface s;
    Draw_Field(s, board);
    EXPECT_EQ(s.ops, (std::vector<std::string>{"cls", "filled 28,7528-222,7722 #FFFF",
                                               "filled 3528,28-3722,222 #FFFF"}));
    s.ops.clear();
    Draw_Grid(s, board, 3);
    EXPECT_EQ(s.Count("line"), 23 + 35);
    EXPECT_EQ(s.ops.front(), "line 0,0-0,8500 #AFAF96");
    EXPECT_EQ(s.ops.back(), "line 0,8500-5500,8500 #AFAF96");
    s.ops.clear();
    Draw_Grid(s, board, 0);  // first place
    EXPECT_EQ(s.ops.front(), "line 0,0-0,8500 #D2C8C8");
}

TEST(DrawFigure, RedrawsSixByFiveCellsAroundTheBoxAndSparesLandedCells) {
    Board board = WithFigure("0000111100000000", 10, 5);  // bar in column 11, rows 5-8
    board.C(9, 8) = true;  // a landed cell in the column the figure has just left
    RecordingSurface s;
    Draw_Figure(s, board);
    EXPECT_EQ(s.Count("cls"), 0);
    EXPECT_EQ(s.Count("outline"), 4);
    EXPECT_EQ(s.Count("filled"), 30 - 4 - 1);
    EXPECT_TRUE(Has(s, "outline 1778,1278-1972,1472 #FFFF00"));  // column 11, row 5
    EXPECT_TRUE(Has(s, "filled 1278,1028-1472,1222 #0"));        // row above, column 9: erased
    EXPECT_FALSE(Has(s, "filled 1278,2028-1472,2222 #0"));       // the landed cell stays
    EXPECT_TRUE(Has(s, "filled 2528,2028-2722,2222 #0"));        // column 14, right of the box

    board = WithFigure("1111000000000000", 4, 0);  // at the top: rows 0 to 4
    s.ops.clear();
    Draw_Figure(s, board);
    EXPECT_EQ(s.ops.size(), 30u);
    EXPECT_TRUE(Has(s, "filled -222,1028--28,1222 #0"));  // margin column 3, row 4
}

TEST(DrawPreviews, NextFillsInItsColourAndFutureOutlinesThreeShapes) {
    FigureMatrix next;
    int16_t counter = 0;
    Initialize_Array_For_Brikko(next, kOrdinaryShapes[6], counter);
    RecordingSurface s;
    Draw_Next(s, next, kRed);
    EXPECT_EQ(s.ops, (std::vector<std::string>{
                         "cls", "filled 308,308-502,502 #FF", "filled 308,558-502,752 #FF",
                         "filled 558,308-752,502 #FF", "filled 558,558-752,752 #FF"}));

    FigureQueue queue;
    queue(3).Shape = "1000000000000000";
    queue(4).Shape = "0000000000000001";
    queue(5).Shape = kSuperFigure;
    s.ops.clear();
    Draw_Future(s, queue);
    EXPECT_EQ(s.Count("outline"), 48);
    EXPECT_EQ(s.ops[1], "outline 278,278-472,472 #FFFF");       // queue 3, cell (0, 0)
    EXPECT_EQ(s.ops[2], "outline 278,528-472,722 #787878");     // queue 3, cell (0, 1): grey
    EXPECT_EQ(s.ops[32], "outline 1028,2228-1222,2422 #FFFF");  // queue 4, cell (3, 3)
    EXPECT_EQ(std::count_if(s.ops.begin() + 33, s.ops.end(),
                            [](const std::string& op) { return op.ends_with("#FFFF"); }),
              12);
}

}  // namespace
}  // namespace vorblin
