// The score panel: removed lines, levels, bonuses and their flashes; the special figure's notice;
// the sounds the game's event numbers ask for, and how a channel shows in a failure.
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
    void SetUp() override {
        board.Reset();
        board.PosY = 27;  // where the figure that has just landed stands
    }
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
    static std::string Expected(int level, const char* toGo, int speed, int lines) {
        return Show("level", "Level # " + std::to_string(level), "to go", toGo, "speed", speed,
                    "lines in level", lines);
    }
    // The flashing line counter after some ticks: 'b' black, 'y' yellow, '.' stopped.
    std::string Flash(int ticks) {
        std::string seen;
        for (int tick = 0; tick < ticks && scores.tmrMigCountLines.Enabled; ++tick) {
            scores.tmrMigCountLines_Timer();
            seen += scores.lblCountLines[scores.LastLines].ForeColor == kBlack ? 'b' : 'y';
        }
        return seen + (scores.tmrMigCountLines.Enabled ? "" : ".");
    }
    Board board;
    ScoreBoard scores;
    ListBox stats;
};

TEST_F(ScoringTest, FullRowsGoAtOnceAndWhatLiesAboveMovesDown) {
    EXPECT_EQ(Remove({"#..............", kFull, kFull, kFull, kFull}), 4);
    EXPECT_EQ(BottomPicture(board, 2), Joined({"...............", "#.............."}));
    EXPECT_EQ(Remove({"..#............", kFull, "#.#.#.#.#.#.#.#", kFull, ".#............."}), 2);
    EXPECT_EQ(BottomPicture(board, 4),
              Joined({"...............", "..#............", "#.#.#.#.#.#.#.#", ".#............."}));
    EXPECT_EQ(Progress(), Expected(0, "123", 0, 6));
    // Row 0 is examined too, and every removal empties it.
    for (int x = Board::kFirstColumn; x <= board.LastColumn(); ++x)
        board.C(x, 0) = true;
    board.C(7, 1) = true;
    EXPECT_EQ(Remove({}), 1);
    board.C(9, 0) = true;
    EXPECT_EQ(Remove({"...............", "...............", kFull}), 1);
    for (int y = 0; y < Board::kRows; ++y)  // the margin stays empty
        for (int x = 0; x < Board::kColumns; ++x)
            EXPECT_EQ(board.C(x, y), (x == 7 && y == 2) || (x == 9 && y == 1)) << x << "," << y;
}

TEST_F(ScoringTest, TheLevelRisesOnTheNinthLineEvenInTheMiddleOfARemoval) {
    scores.LinesInLevel = 7;
    scores.Score = 12345;
    EXPECT_EQ(Remove({kFull, kFull, kFull}), 3);
    EXPECT_EQ(Progress(), Expected(1, "12345678", 15, 1));
    EXPECT_TRUE(scores.tmrLevel.Enabled);
    EXPECT_EQ(stats.Items, (std::vector<std::string>{"Level # 1...", "...Score : 1234"}));
    scores.LinesInLevel = 8;  // the ninth line: the row of digits is full again
    Remove({kFull});
    EXPECT_EQ(Progress(), Expected(2, "123456789", 30, 0));

    // At level 10 lines keep counting, without level lines; a long count stops.
    scores = ScoreBoard{};
    stats.Clear();
    scores.Speed = 150;
    const struct {
        int16_t before;
        const char* toGo;
        int after;
    } steps[] = {{8, "123456789", 9}, {9, "", 10}, {INT16_MAX, "", INT16_MAX}};
    for (const auto& s : steps) {
        scores.LinesInLevel = s.before;
        Remove({kFull});
        EXPECT_EQ(Progress(), Expected(0, s.toGo, 150, s.after));
    }
    EXPECT_TRUE(stats.Items.empty());
    EXPECT_FALSE(scores.tmrLevel.Enabled);
}

TEST_F(ScoringTest, CountCaptionsMultiplyTheShownBonusAndTheLastCountFlashes) {
    for (int16_t n : {4, 4, 4, 2, 2, 2, 3, 1})
        scores.ScoreRemovedLines(n);
    EXPECT_EQ(testing::Panel(scores),
              "level=Level # 0\nlines to go=\nscore=---\n1 line=1-Lines*1 = 275\n"
              "2 lines=2-Lines*3 = 2400\n3 lines=3-Lines*1 = 2225\n4 lines=4-Lines*3 = 15000\n"
              "special bonus=\ntime bonus=\ntime bonus total=40000\n");
    EXPECT_EQ(scores.Score, 3 * 50000 + 3 * 8000 + 22250 + 2750);
    EXPECT_EQ(scores.LastLines, 1);

    // The flash blinks the last count, restarts on a new removal and ends yellow.
    scores = ScoreBoard{};
    scores.ScoreRemovedLines(2);
    EXPECT_EQ(Flash(5), "bybyb");
    scores.lblCountLines[4].ForeColor = kBlack;
    scores.ScoreRemovedLines(1);  // every label yellow, the count starts over, a new label
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(scores.lblCountLines[i].ForeColor, kYellow) << i;
    EXPECT_EQ(Flash(10), "bybyby.");
    scores.ScoreRemovedLines(1);  // and once more after the flash has ended
    EXPECT_EQ(Flash(10), "bybyby.");
}

TEST_F(ScoringTest, TheLevelFlashShowsTenRandomColoursThenTheLevelColour) {
    testing::ScriptedRandom rnd;
    scores.Level = 3;
    // Rnd * 15 rounded: 0.45 -> 0, 0.51 -> 1, 10.49 -> 10, 14.85 -> 15; then 0.
    rnd.Push({0.03f, 0.034f, 0.7f, 0.99f});
    std::vector<Colour> shown;
    for (int flash = 0; flash < 2; ++flash) {  // the second flash starts over
        scores.tmrLevel.Enabled = true;
        while (scores.tmrLevel.Enabled && shown.size() < 30) {
            scores.tmrLevel_Timer(rnd);
            shown.push_back(scores.lblLevel.ForeColor);
        }
    }
    std::string seen;  // palette entries, the level's colour (4) as the timer stops
    for (Colour colour : shown)
        for (int entry = 0; entry < 16; ++entry)
            seen += QBColor(entry) == colour ? std::to_string(entry) + " " : "";
    EXPECT_EQ(seen, "0 1 10 15 0 0 0 0 0 0 4 0 0 0 0 0 0 0 0 0 0 4 ");
}

TEST(SpecialFigureNotice, AnnouncesBonusColourAndLogLine) {
    VorblinNotice notice;
    testing::RecordingSound sound;
    ListBox stats;
    Label score;
    const struct {
        const char* shape;
        int32_t bonus;
        bool special;
        const char* caption;
        Colour caption_colour, preview;
        bool visible;
    } cases[] = {
        {"0000111100000000", 0, false, " Vorblin - фигурка    Бонус ", kCyan, kCyan, false},
        {"1000000000000001", 50001, true, "Vorblin-фигурка Bonus 5000", kCyan, kRed, true},
        {kSuperFigure, kSuperBonus, true, "This Is Vorblin Bonus 25000", kBlue, kBlue, true},
        {"1000000000000001", 42165, true, "Vorblin-фигурка Bonus 4216", kCyan, kRed, true},
        {"0000111100000000", 0, false, "Vorblin-фигурка Bonus 4216", kCyan, kCyan, true},
    };
    for (const auto& c : cases) {
        score.Caption = &c < &cases[2] ? "---" : "0";  // silent before the first landing
        notice.Show_Vorblin_Bonus(FiguraInfo{c.shape, c.bonus, c.special}, score, sound, stats);
        const Label& firma = notice.lblFirma;
        EXPECT_EQ(Show("caption", firma.Caption, "colour", firma.ForeColor, "visible",
                       firma.Visible, "preview", notice.ColorFigura),
                  Show("caption", c.caption, "colour", c.caption_colour, "visible", c.visible,
                       "preview", c.preview));
    }
    EXPECT_EQ(sound.played, (std::vector<Channel>{Channel::mVorblin1, Channel::mVorblin1}));
    EXPECT_EQ(stats.Items,
              (std::vector<std::string>{"...Vorblin", "...SUPER VORBLIN !!!", "...Vorblin"}));
}

TEST(SoundBoard, EachEventNumberPlaysItsSoundAndOtherNumbersNone) {
    for (int code = 0; code <= 255; ++code) {
        testing::RecordingSound board;
        Play_Event_Sound(board, static_cast<uint8_t>(code));
        const bool known = code >= 1 && code <= static_cast<int>(kSoundByCode.size());
        EXPECT_EQ(board.played,
                  known ? std::vector{kSoundByCode[code - 1]} : std::vector<Channel>{})
            << code;
    }
    EXPECT_EQ(::testing::PrintToString(Channel::mRotate1), "mRotate1");
    EXPECT_EQ(::testing::PrintToString(Channel::Count),
              "Channel(" + std::to_string(kChannelCount) + ")");
}

}  // namespace
}  // namespace vorblin
