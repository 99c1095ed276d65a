#include <gtest/gtest.h>

#include "scoring/score_board.h"
#include "support/fakes.h"
#include "support/well_picture.h"

namespace vorblin {
namespace {

using testing::BottomPicture;
using testing::Joined;
using testing::SetBottom;
const std::string kFull = "###############";

class LinesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        board.Reset();
        board.PosY = 27;  // where the figure that has just landed stands
    }
    int16_t Remove(const std::vector<std::string>& bottom) {
        SetBottom(board, bottom);
        int16_t n = 0;
        scores.Delete_Full_Lines(board, scores.Speed, n, stats);
        return n;
    }
    std::string Progress() const {
        return scores.lblLevel.Caption + "|" + scores.lblRemain.Caption + "|" +
               std::to_string(scores.Speed) + "|" + std::to_string(scores.LinesInLevel);
    }
    Board board;
    ScoreBoard scores;
    ListBox stats;
};

TEST_F(LinesTest, FullRowsGoAtOnceAndWhatLiesAboveMovesDown) {
    EXPECT_EQ(Remove({"#..............", kFull, kFull, kFull, kFull}), 4);
    EXPECT_EQ(BottomPicture(board, 2), Joined({"...............", "#.............."}));
    EXPECT_EQ(Remove({"..#............", kFull, "#.#.#.#.#.#.#.#", kFull, ".#............."}), 2);
    EXPECT_EQ(BottomPicture(board, 5),
              Joined({"...............", "...............", "..#............", "#.#.#.#.#.#.#.#",
                      ".#............."}));
    EXPECT_EQ(Progress(), "Level # 0|123|0|6");

    // Row 0 is examined too, and every removal empties it.
    for (int x = 4; x <= 18; ++x)
        board.C(x, 0) = true;
    board.C(7, 1) = true;
    EXPECT_EQ(Remove({}), 1);
    board.C(9, 0) = true;
    EXPECT_EQ(Remove({"...............", "...............", kFull}), 1);
    for (int y = 0; y <= 34; ++y)  // the margin stays empty
        for (int x = 0; x <= 22; ++x)
            EXPECT_EQ(board.C(x, y), (x == 7 && y == 2) || (x == 9 && y == 1)) << x << "," << y;
}

TEST_F(LinesTest, TheLevelRisesOnTheNinthLineEvenInTheMiddleOfARemoval) {
    scores.LinesInLevel = 7;
    scores.Score = 12345;
    EXPECT_EQ(Remove({kFull, kFull, kFull}), 3);
    EXPECT_EQ(Progress(), "Level # 1|12345678|15|1");
    EXPECT_TRUE(scores.tmrLevel.Enabled);
    EXPECT_EQ(stats.Items, (std::vector<std::string>{"Level # 1...", "...Score : 1234"}));
    scores.LinesInLevel = 8;  // the ninth line: the row of digits is full again
    Remove({kFull});
    EXPECT_EQ(Progress(), "Level # 2|123456789|30|0");

    // At level 10 lines keep counting, without level lines; a long count stops.
    scores = ScoreBoard{};
    stats.Clear();
    scores.Speed = 150;
    scores.Level = 10;
    scores.LinesInLevel = 8;
    Remove({kFull});
    EXPECT_EQ(Progress(), "Level # 0|123456789|150|9");
    Remove({kFull});
    EXPECT_EQ(Progress(), "Level # 0||150|10");
    scores.LinesInLevel = INT16_MAX;
    Remove({kFull});
    EXPECT_EQ(Progress(), "Level # 0||150|32767");
    EXPECT_TRUE(stats.Items.empty());
    EXPECT_FALSE(scores.tmrLevel.Enabled);
}

TEST_F(LinesTest, CountCaptionsMultiplyTheShownBonus) {
    for (int n : {4, 4, 4, 2, 2, 2, 3, 1})
        scores.ScoreRemovedLines(static_cast<int16_t>(n));
    EXPECT_EQ(testing::Panel(scores),
              "Level # 0||---|1-Lines*1 = 275|2-Lines*3 = 2400|3-Lines*1 = 2225|"
              "4-Lines*3 = 15000|||40000");
    EXPECT_EQ(scores.Score, 3 * 50000 + 3 * 8000 + 22250 + 2750);
    EXPECT_EQ(scores.LastLines, 1);
}

}  // namespace
}  // namespace vorblin
