#include "support/well_picture.h"

#include <stdexcept>

namespace vorblin::testing {

Board BoardWith(const std::string& shape, int x, int y) {
    Board board;
    board.Reset();
    int16_t counted = 0;
    Initialize_Array_For_Brikko(board.Figura, shape, counted);
    Initialize_Array_For_Brikko(board.FiguraNext, std::string(16, '1'), counted);
    board.PosX = static_cast<uint8_t>(x);
    board.PosY = static_cast<uint8_t>(y);
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

std::string Joined(const std::vector<std::string>& rows) {
    std::string text;
    for (const auto& row : rows)
        text += row + '\n';
    return text;
}

}  // namespace vorblin::testing
