#pragma once
// Wells as text pictures: one string per row, '#' filled and '.' empty, over the 15
// playable columns. Pictures are given for the bottom rows of the well.

#include <string>
#include <vector>

#include "game/board.h"

namespace vorblin::testing {

// An empty well with the figure from a shape string at (x, y) and, as in a game, a next
// figure waiting beside it (a full box).
Board BoardWith(const std::string& shape, int x, int y);

// Fills the bottom rows of the well from the picture (its last row is row 30).
void SetBottom(Board& board, const std::vector<std::string>& rows);

// The bottom `count` playable rows as a picture, one row per line.
std::string BottomPicture(const Board& board, int count);

// Same as text, for comparison with a picture literal.
std::string Joined(const std::vector<std::string>& rows);

}  // namespace vorblin::testing
