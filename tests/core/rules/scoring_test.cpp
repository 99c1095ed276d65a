// The score panel: removed lines, levels, bonuses and their flashes; the special figure's notice.
#include <gtest/gtest.h>

#include "support/fakes.h"

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
    // The level and lines-to-go captions, the speed and the lines counted in the level.
    std::string Progress() const {
        const std::string &level = scores.lblLevel.Caption, &toGo = scores.lblRemain.Caption;
        return SEEN(level, toGo, scores.Speed, scores.LinesInLevel);
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
    EXPECT_EQ(Progress(), "level=Level # 0\ntoGo=123\nscores.Speed=0\nscores.LinesInLevel=6\n");

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
    EXPECT_EQ(Progress(),
              "level=Level # 1\ntoGo=12345678\nscores.Speed=15\nscores.LinesInLevel=1\n");
    EXPECT_TRUE(scores.tmrLevel.Enabled);
    EXPECT_EQ(stats.Items, (std::vector<std::string>{"Level # 1...", "...Score : 1234"}));
    scores.LinesInLevel = 8;  // the ninth line: the row of digits is full again
    Remove({kFull});
    EXPECT_EQ(Progress(),
              "level=Level # 2\ntoGo=123456789\nscores.Speed=30\nscores.LinesInLevel=0\n");

    // At level 10 lines keep counting, without level lines; a long count stops.
    scores = ScoreBoard{};
    stats.Clear();
    scores.Speed = 150;
    scores.Level = 10;
    scores.LinesInLevel = 8;
    Remove({kFull});
    EXPECT_EQ(Progress(),
              "level=Level # 0\ntoGo=123456789\nscores.Speed=150\nscores.LinesInLevel=9\n");
    Remove({kFull});
    EXPECT_EQ(Progress(), "level=Level # 0\ntoGo=\nscores.Speed=150\nscores.LinesInLevel=10\n");
    scores.LinesInLevel = INT16_MAX;
    Remove({kFull});
    EXPECT_EQ(Progress(), "level=Level # 0\ntoGo=\nscores.Speed=150\nscores.LinesInLevel=32767\n");
    EXPECT_TRUE(stats.Items.empty());
    EXPECT_FALSE(scores.tmrLevel.Enabled);
}

TEST_F(LinesTest, CountCaptionsMultiplyTheShownBonus) {
    for (int n : {4, 4, 4, 2, 2, 2, 3, 1})
        scores.ScoreRemovedLines(static_cast<int16_t>(n));
    EXPECT_EQ(testing::Panel(scores),
              "level=Level # 0\nlines to go=\nscore=---\n1 line=1-Lines*1 = 275\n"
              "2 lines=2-Lines*3 = 2400\n3 lines=3-Lines*1 = 2225\n4 lines=4-Lines*3 = 15000\n"
              "special bonus=\ntime bonus=\ntime bonus total=40000\n");
    EXPECT_EQ(scores.Score, 3 * 50000 + 3 * 8000 + 22250 + 2750);
    EXPECT_EQ(scores.LastLines, 1);
}

TEST(LevelFlash, ShowsTenRandomColoursThenTheLevelColourAndStartsOverForTheNext) {
    ScoreBoard scores;
    testing::ScriptedRandom rnd;
    scores.Level = 3;
    // Rnd * 15 rounded: 0.45 -> 0, 0.51 -> 1, 10.49 -> 10, 14.85 -> 15; then 0.
    rnd.Push({0.03f, 0.034f, 0.7f, 0.99f});
    std::vector<Colour> shown;
    for (int level = 0; level < 2; ++level) {
        scores.tmrLevel.Enabled = true;
        while (scores.tmrLevel.Enabled && shown.size() < 30) {
            scores.tmrLevel_Timer(rnd);
            shown.push_back(scores.lblLevel.ForeColor);
        }
    }
    std::vector<Colour> expected = {QBColor(0), QBColor(1), QBColor(10), QBColor(15)};
    expected.resize(10, QBColor(0));
    expected.push_back(QBColor(4));  // the level's colour as the timer stops
    expected.insert(expected.end(), 10, QBColor(0));
    expected.push_back(QBColor(4));
    EXPECT_EQ(shown, expected);
}

TEST(LineFlash, BlinksTheLastCountRestartsOnANewRemovalAndEndsYellow) {
    ScoreBoard scores;
    const auto flash = [&](int ticks) {
        std::string seen;
        for (int tick = 0; tick < ticks && scores.tmrMigCountLines.Enabled; ++tick) {
            scores.tmrMigCountLines_Timer();
            seen += scores.lblCountLines[scores.LastLines].ForeColor == kBlack ? 'b' : 'y';
        }
        return seen + (scores.tmrMigCountLines.Enabled ? "" : ".");
    };
    scores.ScoreRemovedLines(2);
    EXPECT_EQ(flash(5), "bybyb");
    scores.lblCountLines[4].ForeColor = kBlack;
    scores.ScoreRemovedLines(1);  // every label yellow, the count starts over, a new label
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(scores.lblCountLines[i].ForeColor, kYellow) << i;
    EXPECT_EQ(flash(10), "bybyby.");
    scores.ScoreRemovedLines(1);  // and once more after the flash has ended
    EXPECT_EQ(flash(10), "bybyby.");
}

TEST(SpecialFigureNotice, AnnouncesBonusColourAndLogLine) {
    VorblinNotice notice;
    testing::RecordingSound sound;
    ListBox stats;
    Label score{"---"};
    auto show = [&](const char* shape, int32_t bonus, bool special) {
        notice.Show_Vorblin_Bonus(FiguraInfo{shape, bonus, special}, score, sound, stats);
        const Label& firma = notice.lblFirma;
        return SEEN(firma.Caption, firma.ForeColor, firma.Visible, notice.ColorFigura);
    };
    EXPECT_EQ(show("0000111100000000", 0, false),
              "firma.Caption= Vorblin - фигурка    Бонус \n"
              "firma.ForeColor=16776960\nfirma.Visible=false\nnotice.ColorFigura=16776960\n");
    EXPECT_EQ(show("1000000000000001", 50001, true),
              "firma.Caption=Vorblin-фигурка Bonus 5000\n"
              "firma.ForeColor=16776960\nfirma.Visible=true\nnotice.ColorFigura=255\n");
    EXPECT_TRUE(sound.played.empty());  // nothing before the first landing
    score.Caption = "0";
    EXPECT_EQ(show(kSuperFigure, kSuperBonus, true),
              "firma.Caption=This Is Vorblin Bonus 25000\n"
              "firma.ForeColor=16711680\nfirma.Visible=true\nnotice.ColorFigura=16711680\n");
    EXPECT_EQ(show("1000000000000001", 42165, true),  // 4216.5, to even
              "firma.Caption=Vorblin-фигурка Bonus 4216\n"
              "firma.ForeColor=16776960\nfirma.Visible=true\nnotice.ColorFigura=255\n");
    EXPECT_EQ(show("0000111100000000", 0, false),
              "firma.Caption=Vorblin-фигурка Bonus 4216\n"
              "firma.ForeColor=16776960\nfirma.Visible=true\nnotice.ColorFigura=16776960\n");
    EXPECT_EQ(sound.played, (std::vector<Channel>{Channel::mVorblin1, Channel::mVorblin1}));
    EXPECT_EQ(stats.Items,
              (std::vector<std::string>{"...Vorblin", "...SUPER VORBLIN !!!", "...Vorblin"}));
}

}  // namespace
}  // namespace vorblin
