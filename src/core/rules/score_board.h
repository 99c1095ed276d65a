#pragma once
// Score, level and bonus counters with the panels that show them.

#include <array>
#include <cstdint>

#include "core/base/control_state.h"
#include "core/base/random_clock.h"
#include "core/rules/board.h"

namespace vorblin {

class ScoreBoard {
  public:
    // The line bonus for n rows removed by one landing, in tenths.
    static int32_t LineBonus(int n);

    // Resets what a new game resets (Score and Speed are left to the game-over flow).
    void ResetForNewGame();

    // Removes every full row of the well and counts it into Lines; may raise the level
    // (and so Speed) in the middle of a removal. Level lines go to the statistics list.
    void Delete_Full_Lines(Board& board, int16_t& Speed, int16_t& Lines, ListBox& lstStatistic);

    void Show_Time_Bonus(int16_t TimeBonus);

    // The line bonus part of a landing that removed n > 0 rows: score, tallies, captions
    // and the line-counter flash.
    void ScoreRemovedLines(int16_t n);

    void tmrLevel_Timer(RandomSource& rnd);
    void tmrMigCountLines_Timer();

    int32_t Score = 0;
    int32_t ScoreBefore = 0;
    int16_t Speed = 0;
    int16_t Level = 0;
    int16_t LinesInLevel = 0;
    int16_t LastLines = 0;
    std::array<int32_t, 5> LineCounts{};  // 1..4 used
    int16_t FigureCount = 0;
    int32_t TimeBonusTotal = 0;
    int32_t VorblinBonusTotal = 0;
    int16_t CellCounter = 0;
    int16_t TimeTicks = 0;
    int16_t LineFlashCount = 0;
    int16_t LevelFlashCount = 0;
    int16_t FlashIndex = 0;

    Label lblScore{"---", kYellow};
    Label lblLevel{"Level # 0", QBColor(1)};
    Label lblRemain{"", RGB(255, 128, 128)};
    std::array<Label, 5> lblCountLines{Label{}, Label{"0", kYellow}, Label{"0", kYellow},
                                       Label{"0", kYellow}, Label{"0", kYellow}};  // 1..4 used
    Label lblTimeBonus{"", RGB(255, 128, 0)};
    Label lblTotalScore{"40000", RGB(255, 128, 0)};
    Label lblSumBonus{"", kRed};
    Timer tmrLevel{false, 150};
    Timer tmrMigCountLines{false, 250};

  private:
    void RaiseLevelIfDue(int16_t& speed, ListBox& lstStatistic);
};

}  // namespace vorblin
