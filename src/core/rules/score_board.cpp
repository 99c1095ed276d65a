#include "core/rules/score_board.h"

#include <string>

#include "core/base/numbers.h"

namespace vorblin {

int32_t ScoreBoard::LineBonus(int n) {
    return RoundHalfEven(750.0 * n * n * n + 2000);
}

void ScoreBoard::ResetForNewGame() {
    Level = 0;
    lblRemain.Caption.clear();
    lblLevel.ForeColor = QBColor(1);
    lblLevel.Caption = "Level # 0";
    LineCounts = {};
    lblScore.Caption = "---";
    for (int i = 1; i <= 4; ++i)
        lblCountLines[static_cast<size_t>(i)].Caption.clear();
    CellCounter = 0;
    FigureCount = 0;
    LinesInLevel = 0;
}

void ScoreBoard::Delete_Full_Lines(Board& board, int16_t& speed, int16_t& Lines,
                                   ListBox& lstStatistic) {
    int r = board.MaxY;
    while (r >= 0) {
        int count = 0;
        for (int c = Board::kFirstColumn; c <= board.LastColumn(); ++c)
            count += board.C(c, r) ? 1 : 0;
        if (count != 15) {
            --r;
            continue;
        }
        ++Lines;
        for (int k = r; k >= 0; --k)
            for (int c = Board::kFirstColumn; c <= board.LastColumn(); ++c)
                board.C(c, k) = k > 0 && board.C(c, k - 1);
        CountUp(LinesInLevel);
        RaiseLevelIfDue(speed, lstStatistic);
    }
}

void ScoreBoard::RaiseLevelIfDue(int16_t& speed, ListBox& lstStatistic) {
    std::string remain;
    for (int digit = 1; digit <= 9 - LinesInLevel; ++digit)
        remain += static_cast<char>('0' + digit);
    lblRemain.Caption = remain;
    if (9 - LinesInLevel == 0)
        lblRemain.Caption = "123456789";
    if (speed < 150 && LinesInLevel > 8) {
        speed = static_cast<int16_t>(speed + 15);
        LinesInLevel = 0;
        ++Level;
        lblLevel.Caption = "Level # " + std::to_string(Level);
        lstStatistic.AddItem(lblLevel.Caption + "...");
        lstStatistic.AddItem("...Score : " + std::to_string(Shown(Score)));
        tmrLevel.Enabled = true;
    }
}

void ScoreBoard::Show_Time_Bonus(int16_t TimeBonus) {
    lblTimeBonus.Caption = std::to_string(TimeBonus);
    lblTotalScore.Caption = std::to_string(TimeBonusTotal);
}

void ScoreBoard::ScoreRemovedLines(int16_t n) {
    const int32_t bonus = LineBonus(n);
    Score += bonus;
    LastLines = n;
    for (int i = 1; i <= 4; ++i)
        lblCountLines[static_cast<size_t>(i)].ForeColor = kYellow;
    if (tmrMigCountLines.Enabled)
        LineFlashCount = 0;
    else
        tmrMigCountLines.Enabled = true;
    int32_t& count = LineCounts[static_cast<size_t>(n)];
    ++count;
    lblCountLines[static_cast<size_t>(n)].Caption =
        std::to_string(n) + "-Lines*" + std::to_string(count) + " = " +
        std::to_string(RoundHalfEven(bonus / 10.0 * count));
}

void ScoreBoard::tmrLevel_Timer(RandomSource& rnd) {
    ++LevelFlashCount;
    lblLevel.ForeColor = QBColor(RoundHalfEven(static_cast<double>(rnd.Rnd()) * 15));
    if (LevelFlashCount > 10) {
        tmrLevel.Enabled = false;
        lblLevel.ForeColor = QBColor(Level + 1);
        LevelFlashCount = 0;
    }
}

void ScoreBoard::tmrMigCountLines_Timer() {
    FlashIndex = LastLines;
    ++LineFlashCount;
    Label& label = lblCountLines[static_cast<size_t>(FlashIndex)];
    label.ForeColor = label.ForeColor != kBlack ? kBlack : kYellow;
    if (LineFlashCount > 5) {
        tmrMigCountLines.Enabled = false;
        label.ForeColor = kYellow;
        LineFlashCount = 0;
    }
}

}  // namespace vorblin
