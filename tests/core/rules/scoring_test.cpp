// The score panel: removed lines, levels, bonuses and their flashes; the special figure's notice.
#include <gtest/gtest.h>

#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::Show;
const std::string kFull = "###############";

class ScoringTest : public ::testing::Test {
  protected:
    int16_t Remove(const std::vector<std::string>& bottom) {
        testing::SetBottom(board, bottom);
        int16_t n = 0;
        scores.Delete_Full_Lines(board, scores.Speed, n, stats);
        return n;
    }
    Board board = testing::BoardWith("", Board::kStartX, 27);
    ScoreBoard scores;
    ListBox stats;
};

// A landing's removal as a whole: game_test. Each count's bonus: shell_test's second game.
TEST_F(ScoringTest, FullRowsGoAtOnceAndWhatLiesAboveMovesDown) {
    EXPECT_EQ(Remove({"..#............", kFull, "#.#.#.#.#.#.#.#", kFull, kFull}), 3);
    EXPECT_EQ(testing::BottomPicture(board, 3),
              testing::Joined({"...............", "..#............", "#.#.#.#.#.#.#.#"}));
    // Row 0 is examined too, and every removal empties it.
    for (int x = Board::kFirstColumn; x <= board.LastColumn(); ++x)
        board.C(x, 0) = true;
    board.C(7, 1) = true;
    EXPECT_EQ(Remove({}), 1);
    board.C(9, 0) = true;
    EXPECT_EQ(Remove({"...............", kFull}), 1);
    EXPECT_EQ(scores.lblRemain.Caption, "1234");  // 5 of the level's 9 lines
    for (int y = 0; y < Board::kRows - 4; ++y)    // the margin stays empty
        for (int x = 0; x < Board::kColumns; ++x)
            EXPECT_EQ(board.C(x, y), (x == 7 && y == 2) || (x == 9 && y == 1)) << x << "," << y;
}

TEST_F(ScoringTest, CountCaptionsMultiplyTheShownBonusAndTheLastCountFlashes) {
    for (int16_t n : {4, 4, 4, 1})  // a count's caption multiplies the shown bonus
        scores.ScoreRemovedLines(n);
    EXPECT_EQ(scores.lblCountLines[4].Caption, "4-Lines*3 = 15000");
    EXPECT_EQ(scores.Score, 3 * 50000 + 2750);

    // The flash blinks the last count ('b' black, 'y' yellow, '.' stopped), restarts on a
    // new removal with every label yellow, and ends yellow.
    scores.lblCountLines[4].ForeColor = kBlack;
    std::string seen;
    for (int tick = 0; tick < 12 && scores.tmrMigCountLines.Enabled; ++tick) {
        if (tick == 3)
            scores.ScoreRemovedLines(2);
        scores.tmrMigCountLines_Timer();
        seen += scores.lblCountLines[scores.LastLines].ForeColor == kBlack ? 'b' : 'y';
    }
    EXPECT_EQ(seen + (scores.tmrMigCountLines.Enabled ? "" : "."), "bybbybyby.");
    EXPECT_EQ(scores.lblCountLines[4].ForeColor, kYellow);
}

// The notice's default caption is the design's (help_tour_test); the super figure's notice,
// and a special next figure's silence at a game's start: game_test.
TEST(SpecialFigureNotice, AnnouncesBonusColourAndLogLine) {
    VorblinNotice notice;
    testing::RecordingSound sound;
    ListBox stats;
    Label score;  // not "---": a game is on
    notice.Show_Vorblin_Bonus({"1000000000000001", 42165, true}, score, sound, stats);
    EXPECT_EQ(Show("caption", notice.lblFirma.Caption, "colour", notice.lblFirma.ForeColor,
                   "preview", notice.ColorFigura, "log", stats.Items.back()),
              Show("caption", "Vorblin-фигурка Bonus 4216", "colour", kCyan, "preview", kRed, "log",
                   "...Vorblin"));
    EXPECT_EQ(sound.played, std::vector<Channel>{Channel::mVorblin1});
}

}  // namespace
}  // namespace vorblin
