#include <gtest/gtest.h>

#include "game/board.h"

namespace vorblin {
namespace {

constexpr const char* kBar = "0000111100000000";  // vertical bar in box column 1

Board WithFigure(const char* shape, int x, int y) {
    Board board;
    board.Reset();
    int16_t counter = 0;
    Initialize_Array_For_Brikko(board.Figura, shape, counter);
    board.PosX = static_cast<uint8_t>(x);
    board.PosY = static_cast<uint8_t>(y);
    return board;
}

TEST(Moves, StopAtWallsAndFilledCellsWhileEmptyBoxCellsMayHangOver) {
    Board board = WithFigure(kBar, 3, 27);  // bar in column 4, rows 27-30
    EXPECT_FALSE(board.Enable_Move_Left_Right(0));
    board.PosX = 17;  // column 18
    EXPECT_FALSE(board.Enable_Move_Left_Right(2));
    EXPECT_TRUE(board.Enable_Move_Left_Right(0));
    board.C(17, 30) = true;  // beside its lowest cell
    EXPECT_FALSE(board.Enable_Move_Left_Right(0));

    board = WithFigure("0000000000001111", 1, 0);  // a narrow figure may stand at PosX 1
    EXPECT_FALSE(board.Enable_Move_Left_Right(0));
    EXPECT_TRUE(board.Enable_Move_Left_Right(2));
    board = WithFigure("1111000000000000", 18, 0);  // and at PosX 18
    EXPECT_FALSE(board.Enable_Move_Left_Right(2));
    EXPECT_TRUE(board.Enable_Move_Left_Right(0));
}

TEST(Fall, StopsAtTheFloorAndOnFilledCells) {
    Board board = WithFigure(kBar, 8, 26);
    EXPECT_TRUE(board.Enable_Move_Down());
    board.PosY = 27;  // lowest cell on row 30
    EXPECT_FALSE(board.Enable_Move_Down());
    board.PosY = 20;
    board.C(10, 24) = true;  // under an empty box cell
    EXPECT_TRUE(board.Enable_Move_Down());
    board.C(9, 24) = true;
    EXPECT_FALSE(board.Enable_Move_Down());
}

TEST(Rotation, TurnsClockwiseInsideTheBox) {
    Board board = WithFigure(kBar, 8, 5);
    const FigureMatrix start = board.Figura;
    ASSERT_TRUE(board.Rotate_Figure());
    EXPECT_EQ(board.Figura, WithFigure("0100010001000100", 8, 5).Figura);  // row 1 of the box
    for (int turn = 0; turn < 3; ++turn)
        ASSERT_TRUE(board.Rotate_Figure());
    EXPECT_EQ(board.Figura, start);

    board = WithFigure(kOrdinaryShapes[1], 8, 5);  // cell (c, r) goes to (3 - r, c)
    board.Rotate_Figure();
    EXPECT_EQ(board.Figura, WithFigure("0110010001000000", 8, 5).Figura);
}

TEST(Rotation, IsRefusedAtWallsFloorAndFilledCellsWithoutShifting) {
    Board board = WithFigure(kBar, 3, 5);  // the horizontal form would reach column 3
    const FigureMatrix vertical = board.Figura;
    EXPECT_FALSE(board.Rotate_Figure());
    EXPECT_EQ(board.Figura, vertical);
    EXPECT_EQ(board.PosX, 3);

    board = WithFigure("0100010001000100", 8, 29);  // horizontal bar resting on row 30
    EXPECT_FALSE(board.Rotate_Figure());            // its vertical form would go below
    board.PosY = 26;
    EXPECT_TRUE(board.Enable_Rotate(board.Rotated()));
    board.C(10, 29) = true;  // under the lowest cell of the turned bar
    EXPECT_FALSE(board.Enable_Rotate(board.Rotated()));
}

TEST(Inversion, NeedsTheWholeBoxInsideEmptyAndAboveTheFloor) {
    Board board = WithFigure(kOrdinaryShapes[6], 4, 10);  // the square, box columns 1-2
    EXPECT_TRUE(board.Enable_Inverse());
    board.PosX = 15;
    EXPECT_TRUE(board.Enable_Inverse());
    for (int x : {3, 16, 18}) {
        board.PosX = static_cast<uint8_t>(x);  // the square itself would still be inside
        EXPECT_FALSE(board.Enable_Inverse()) << x;
    }
    board.PosX = 8;
    board.C(8, 10) = true;  // under an empty corner of the box
    EXPECT_FALSE(board.Enable_Inverse());

    board = WithFigure("1000100010001000", 8, 30);  // a row of four on row 30
    EXPECT_FALSE(board.Enable_Inverse());           // its empty cells lie below it
    board.PosY = 27;
    ASSERT_TRUE(board.Enable_Inverse());
    board.Invert();
    EXPECT_EQ(board.Figura.FilledCount(), 12);
    board = WithFigure("1111111111111111", 8, 10);  // would leave no cell to land
    EXPECT_FALSE(board.Enable_Inverse());
}

TEST(GameOverTest, OnlyAnOverlapAtTheStartEndsTheGame) {
    Board board = WithFigure(kOrdinaryShapes[6], Board::kStartX, 0);  // columns 10-11, rows 1-2
    for (int x = 4; x <= 18; ++x)
        board.C(x, 0) = true;               // a full top row
    board.C(9, 1) = board.C(12, 2) = true;  // beside the figure
    EXPECT_FALSE(board.GameOver());
    board.C(11, 2) = true;
    EXPECT_TRUE(board.GameOver());
}

}  // namespace
}  // namespace vorblin
