#include <gtest/gtest.h>

#include "scoring/score_board.h"
#include "support/well_picture.h"

namespace vorblin {
namespace {

using testing::BottomPicture;
using testing::Joined;
using testing::SetBottom;

class LinesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        board.Reset();
        board.PosY = 27;  // where the figure that has just landed stands
    }
    int16_t Remove() {
        int16_t n = 0;
        scores.Delete_Full_Lines(board, scores.Speed, n, stats);
        return n;
    }
    Board board;
    ScoreBoard scores;
    ListBox stats;
};

TEST_F(LinesTest, FourFullRowsGoAtOnce) {
    SetBottom(board, {"#..............", "###############", "###############", "###############",
                      "###############"});
    EXPECT_EQ(Remove(), 4);
    EXPECT_EQ(BottomPicture(board, 5),
              Joined({"...............", "...............", "...............", "...............",
                      "#.............."}));
    scores.ScoreRemovedLines(4);
    EXPECT_EQ(scores.Score, 50000);
    EXPECT_EQ(scores.lblCountLines[4].Caption, "4-Lines*1 = 5000");
    EXPECT_EQ(scores.LinesInLevel, 4);
    EXPECT_EQ(scores.lblRemain.Caption, "12345");
}

TEST_F(LinesTest, RowZeroIsRemovedAndEmptiedAndTheMarginStaysEmpty) {
    for (int x = 4; x <= 18; ++x)
        board.C(x, 0) = true;
    board.C(7, 1) = true;
    EXPECT_EQ(Remove(), 1);
    EXPECT_TRUE(board.C(7, 1));
    SetBottom(board, {"###############"});
    board.C(9, 0) = true;
    EXPECT_EQ(Remove(), 1);
    EXPECT_TRUE(board.C(7, 2) && board.C(9, 1));
    for (int y = 0; y <= 34; ++y)
        for (int x = 0; x <= 22; ++x)
            EXPECT_EQ(board.C(x, y), (x == 7 && y == 2) || (x == 9 && y == 1)) << x << "," << y;
}

TEST_F(LinesTest, RowsBetweenAndAboveSeparatedFullRowsMoveDown) {
    SetBottom(board, {"..#............", "###############", "#.#.#.#.#.#.#.#", "###############",
                      ".#............."});
    EXPECT_EQ(Remove(), 2);
    EXPECT_EQ(BottomPicture(board, 5),
              Joined({"...............", "...............", "..#............", "#.#.#.#.#.#.#.#",
                      ".#............."}));
}

TEST_F(LinesTest, LevelRisesInTheMiddleOfARemoval) {
    scores.LinesInLevel = 7;
    scores.Score = 12345;
    SetBottom(board, {"###############", "###############", "###############"});
    EXPECT_EQ(Remove(), 3);
    EXPECT_EQ(scores.Level, 1);
    EXPECT_EQ(scores.Speed, 15);
    EXPECT_EQ(scores.LinesInLevel, 1);
    EXPECT_EQ(scores.lblRemain.Caption, "12345678");
    EXPECT_EQ(scores.lblLevel.Caption, "Level # 1");
    EXPECT_TRUE(scores.tmrLevel.Enabled);
    EXPECT_EQ(stats.Items, (std::vector<std::string>{"Level # 1...", "...Score : 1234"}));

    scores.LinesInLevel = 8;  // the ninth line: the caption shows the full row of digits
    SetBottom(board, {"###############"});
    Remove();
    EXPECT_EQ(scores.lblRemain.Caption, "123456789");
    EXPECT_EQ(scores.LinesInLevel, 0);
    EXPECT_EQ(scores.Level, 2);
}

TEST_F(LinesTest, AtLevelTenLinesKeepCountingWithoutLevelLines) {
    scores.Speed = 150;
    scores.Level = 10;
    scores.LinesInLevel = 8;
    SetBottom(board, {"###############"});
    Remove();
    EXPECT_EQ(scores.LinesInLevel, 9);
    EXPECT_EQ(scores.lblRemain.Caption, "123456789");
    SetBottom(board, {"###############"});
    Remove();
    EXPECT_EQ(scores.LinesInLevel, 10);
    EXPECT_EQ(scores.lblRemain.Caption, "");
    EXPECT_EQ(scores.Level, 10);
    EXPECT_EQ(scores.Speed, 150);
    EXPECT_TRUE(stats.Items.empty());
    EXPECT_FALSE(scores.tmrLevel.Enabled);
    scores.LinesInLevel = INT16_MAX;  // a count this long stops instead of turning negative
    SetBottom(board, {"###############"});
    Remove();
    EXPECT_EQ(scores.LinesInLevel, INT16_MAX);
    EXPECT_EQ(scores.lblRemain.Caption, "");
}

TEST_F(LinesTest, CountCaptionsMultiplyTheShownBonus) {
    for (int i = 0; i < 3; ++i)
        scores.ScoreRemovedLines(4);
    EXPECT_EQ(scores.lblCountLines[4].Caption, "4-Lines*3 = 15000");
    for (int i = 0; i < 3; ++i)
        scores.ScoreRemovedLines(2);
    EXPECT_EQ(scores.lblCountLines[2].Caption, "2-Lines*3 = 2400");
    scores.ScoreRemovedLines(3);
    scores.ScoreRemovedLines(1);
    EXPECT_EQ(scores.lblCountLines[3].Caption, "3-Lines*1 = 2225");
    EXPECT_EQ(scores.lblCountLines[1].Caption, "1-Lines*1 = 275");
    EXPECT_EQ(scores.Score, 3 * 50000 + 3 * 8000 + 22250 + 2750);
    EXPECT_EQ(scores.LastLines, 1);
    EXPECT_EQ(scores.LineCounts[4], 3);
}

}  // namespace
}  // namespace vorblin
