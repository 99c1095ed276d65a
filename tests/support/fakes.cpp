#include "support/fakes.h"

#include <stdlib.h>

#include <filesystem>
#include <map>

#include <cstdio>
#include <stdexcept>

namespace vorblin::testing {

float ScriptedRandom::Rnd() {
    ++draws;
    const float value = script.empty() ? fallback : script.front();
    if (!script.empty())
        script.pop_front();
    return value;
}

void RecordingSurface::Log(const char* kind, int x1, int y1, int x2, int y2, Colour colour) {
    char text[96];
    std::snprintf(text, sizeof text, "%s %d,%d-%d,%d #%X", kind, x1, y1, x2, y2,
                  static_cast<unsigned>(colour));
    ops.push_back(text);
}

std::string RecordingSurface::Cells(int left, int top, int right, int bottom) const {
    const std::string blank(static_cast<size_t>(right - left + 1), ' ');
    std::vector<std::string> rows(static_cast<size_t>(bottom - top + 1), blank);
    for (const std::string& op : ops) {
        char kind[16];
        int x1, y1, x2, y2;
        unsigned colour;
        if (op == "cls")
            rows.assign(rows.size(), blank);
        if (op.starts_with("line") ||
            std::sscanf(op.c_str(), "%15s %d,%d-%d,%d #%X", kind, &x1, &y1, &x2, &y2, &colour) < 6)
            continue;
        const int x = (x1 - kInset + 4 * kCell) / kCell, y = (y1 - kInset) / kCell;
        if (x < left || x > right || y < top || y > bottom)
            continue;
        const bool cell = (x1 - kInset) % kCell == 0 && x2 - x1 == 194 && y2 - y1 == 194;
        static const std::map<std::string, char> kShown{
            {"filled65535", '#'}, {"outline16776960", 'o'}, {"filled0", '.'}};
        const auto shown = kShown.find(kind + std::to_string(colour));
        rows[static_cast<size_t>(y - top)][static_cast<size_t>(x - left)] =
            cell && shown != kShown.end() ? shown->second : '?';
    }
    return Joined(rows);
}

std::string Panel(const ScoreBoard& s) {
    const std::pair<const char*, const Label*> labels[] = {
        {"level", &s.lblLevel},           {"lines to go", &s.lblRemain},
        {"score", &s.lblScore},           {"1 line", &s.lblCountLines[1]},
        {"2 lines", &s.lblCountLines[2]}, {"3 lines", &s.lblCountLines[3]},
        {"4 lines", &s.lblCountLines[4]}, {"special bonus", &s.lblSumBonus},
        {"time bonus", &s.lblTimeBonus},  {"time bonus total", &s.lblTotalScore}};
    std::ostringstream out;
    for (const auto& [name, label] : labels)
        out << name << '=' << label->Caption << '\n';
    return out.str();
}

void Place(Board& board, const std::string& shape, int x, int y) {
    int16_t cells = 0;
    Initialize_Array_For_Brikko(board.Figura, shape, cells);
    board.PosX = static_cast<uint8_t>(x);
    board.PosY = static_cast<uint8_t>(y);
}

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorblin-XXXXXX").string();
    path = mkdtemp(pattern.data());
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path, ignored);
}

void LandOnNextTick(Game& g, int32_t S, bool endsGame) {
    Place(g.board, "1000000000000000", 9, 30);
    for (int x = 4; endsGame && x <= 17; ++x)
        for (int y = 0; y <= 3; ++y)
            g.board.C(x, y) = true;
    g.TickCount = static_cast<int16_t>(149 - g.scores.Speed);
    g.scores.TimeTicks = 201;
    g.scores.CellCounter = 0;
    g.scores.Score = S * 10;
}

RecordTable Table(int n, int top) {
    RecordTable table;
    for (int S = top; S > top - n; --S)
        table.push_back({std::to_string(S), double(S)});
    return table;
}

Board BoardWith(const std::string& shape, int x, int y) {
    Board board;
    int16_t counted = 0;
    Initialize_Array_For_Brikko(board.FiguraNext, std::string(16, '1'), counted);
    Place(board, shape, x, y);
    return board;
}

void SetBottom(Board& board, const std::vector<std::string>& rows) {
    const int firstRow = board.LastRow() + 1 - static_cast<int>(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].size() != 15)
            throw std::invalid_argument("a well row has 15 cells: " + rows[i]);
        for (int c = 0; c < 15; ++c)
            board.C(Board::kFirstColumn + c, firstRow + static_cast<int>(i)) =
                rows[i][static_cast<size_t>(c)] == '#';
    }
}

std::string BottomPicture(const Board& board, int count) {
    std::string text;
    for (int y = board.LastRow() + 1 - count; y <= board.LastRow(); ++y) {
        for (int x = Board::kFirstColumn; x <= board.LastColumn(); ++x)
            text += board.C(x, y) ? '#' : '.';
        text += '\n';
    }
    return text;
}

std::string Joined(const std::vector<std::string>& rows, std::string_view end) {
    std::string text;
    for (const auto& row : rows)
        text.append(row).append(end);
    return text;
}

}  // namespace vorblin::testing
