// The score panel: removed lines, levels, bonuses and their flashes; the special figure's notice.
#include <gtest/gtest.h>

#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::BottomPicture;
using testing::Joined;
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
    // The level and lines-to-go captions, the speed and the lines counted in the level.
    std::string Progress() const {
        return Show("level", scores.lblLevel.Caption, "to go", scores.lblRemain.Caption, "speed",
                    scores.Speed, "lines in level", scores.LinesInLevel);
    }
    Board board = testing::BoardWith("", Board::kStartX, 27);
    ScoreBoard scores;
    ListBox stats;
};

TEST_F(ScoringTest, FullRowsGoAtOnceAndWhatLiesAboveMovesDown) {
    EXPECT_EQ(Remove({"..#............", kFull, "#.#.#.#.#.#.#.#", kFull, kFull}), 3);
    EXPECT_EQ(BottomPicture(board, 4),
              Joined({"...............", "...............", "..#............", "#.#.#.#.#.#.#.#"}));
    // Row 0 is examined too, and every removal empties it.
    for (int x = Board::kFirstColumn; x <= board.LastColumn(); ++x)
        board.C(x, 0) = true;
    board.C(7, 1) = true;
    EXPECT_EQ(Remove({}), 1);
    board.C(9, 0) = true;
    EXPECT_EQ(Remove({"...............", kFull}), 1);
    for (int y = 0; y < Board::kRows - 4; ++y)  // the margin stays empty
        for (int x = 0; x < Board::kColumns; ++x)
            EXPECT_EQ(board.C(x, y), (x == 7 && y == 2) || (x == 9 && y == 1)) << x << "," << y;
}

TEST_F(ScoringTest, TheLevelRisesOnTheNinthLineEvenInTheMiddleOfARemoval) {
    scores.LinesInLevel = 7;
    scores.Score = 12345;
    EXPECT_EQ(Remove({kFull, kFull, kFull}), 3);
    EXPECT_EQ(Progress(),
              Show("level", "Level # 1", "to go", "12345678", "speed", 15, "lines in level", 1));
    EXPECT_TRUE(scores.tmrLevel.Enabled);
    EXPECT_EQ(stats.Items, (std::vector<std::string>{"Level # 1...", "...Score : 1234"}));
    scores.LinesInLevel = 8;  // the ninth line: the row of digits is full again
    Remove({kFull});
    EXPECT_EQ(Progress(),
              Show("level", "Level # 2", "to go", "123456789", "speed", 30, "lines in level", 0));

    // At level 10 lines keep counting, without level lines; a long count stops.
    scores.Speed = 150;
    for (int16_t before : {9, INT16_MAX}) {
        scores.LinesInLevel = before;
        Remove({kFull});
        EXPECT_EQ(Progress(), Show("level", "Level # 2", "to go", "", "speed", 150,
                                   "lines in level", before == 9 ? 10 : INT16_MAX));
    }
    EXPECT_EQ(stats.ListCount(), 4);
}

TEST_F(ScoringTest, CountCaptionsMultiplyTheShownBonusAndTheLastCountFlashes) {
    for (int16_t n : {4, 4, 4, 3, 1})
        scores.ScoreRemovedLines(n);
    EXPECT_EQ(testing::Panel(scores),
              "level=Level # 0\nlines to go=\nscore=---\n1 line=1-Lines*1 = 275\n2 lines=0\n"
              "3 lines=3-Lines*1 = 2225\n4 lines=4-Lines*3 = 15000\n"
              "special bonus=\ntime bonus=\ntime bonus total=40000\n");
    EXPECT_EQ(scores.Score, 3 * 50000 + 22250 + 2750);

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

TEST_F(ScoringTest, TheLevelFlashShowsTenRandomColoursThenTheLevelColour) {
    testing::ScriptedRandom rnd;
    scores.Level = 3;
    // Rnd * 15 rounded: 0.45 -> 0, 0.51 -> 1, 10.49 -> 10, 14.85 -> 15; then 0.
    rnd.Push({0.03f, 0.034f, 0.7f, 0.99f});
    std::string seen;  // palette entries, the level's colour (4) as the timer stops
    for (int flash = 0; flash < 2; ++flash) {  // the second flash starts over
        for (scores.tmrLevel.Enabled = true; scores.tmrLevel.Enabled && seen.size() < 99;) {
            scores.tmrLevel_Timer(rnd);
            for (int entry = 0; entry < 16; ++entry)
                seen +=
                    QBColor(entry) == scores.lblLevel.ForeColor ? std::to_string(entry) + " " : "";
        }
    }
    EXPECT_EQ(seen, "0 1 10 15 0 0 0 0 0 0 4 0 0 0 0 0 0 0 0 0 0 4 ");
}

TEST(SpecialFigureNotice, AnnouncesBonusColourAndLogLine) {
    VorblinNotice notice;
    testing::RecordingSound sound;
    ListBox stats;
    Label score;
    score.Caption = "0";
    const struct {
        const char* shape;
        int32_t bonus;
        bool special;
        const char* caption;
        Colour caption_colour, preview;
    } cases[] = {
        {"0000111100000000", 0, false, " Vorblin - фигурка    Бонус ", kCyan, kCyan},
        {kSuperFigure, kSuperBonus, true, "This Is Vorblin Bonus 25000", kBlue, kBlue},
        {"1000000000000001", 42165, true, "Vorblin-фигурка Bonus 4216", kCyan, kRed},
        {"0000111100000000", 0, false, "Vorblin-фигурка Bonus 4216", kCyan, kCyan},
    };
    for (const auto& c : cases) {
        notice.Show_Vorblin_Bonus(FiguraInfo{c.shape, c.bonus, c.special}, score, sound, stats);
        const Label& firma = notice.lblFirma;
        EXPECT_EQ(Show("caption", firma.Caption, "colour", firma.ForeColor, "visible",
                       firma.Visible, "preview", notice.ColorFigura),
                  Show("caption", c.caption, "colour", c.caption_colour, "visible", &c != cases,
                       "preview", c.preview));
    }
    EXPECT_EQ(sound.played, (std::vector<Channel>{Channel::mVorblin1, Channel::mVorblin1}));
    EXPECT_EQ(stats.Items, (std::vector<std::string>{"...SUPER VORBLIN !!!", "...Vorblin"}));
}

}  // namespace
}  // namespace vorblin
