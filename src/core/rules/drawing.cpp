#include "core/rules/drawing.h"

namespace vorblin {

namespace {
void CellBox(DrawingSurface& surface, int left, int top, Colour colour, bool filled) {
    const int x1 = left + kInset, y1 = top + kInset;
    const int x2 = left + kCell - kInset, y2 = top + kCell - kInset;
    if (filled)
        surface.FilledBox(x1, y1, x2, y2, colour);
    else
        surface.BoxOutline(x1, y1, x2, y2, colour);
}
}  // namespace

void Draw_Field(DrawingSurface& picVorblin, const Board& board) {
    picVorblin.Cls();
    for (int x = Board::kFirstColumn; x <= board.LastColumn(); ++x)
        for (int y = 0; y <= board.LastRow(); ++y)
            if (board.C(x, y))
                CellBox(picVorblin, (x - 4) * kCell, y * kCell, kYellow, true);
}

void Draw_Grid(DrawingSurface& picVorblin, const Board& board, int16_t Position) {
    const Colour colour = Position < 1 ? kFirstPlaceGridColour : kGridColour;
    const int right = board.MaxX * kCell, bottom = board.MaxY * kCell;
    for (int u = 0; u <= right; u += kCell)
        picVorblin.Line(u, 0, u, bottom, colour);
    for (int v = 0; v <= bottom; v += kCell)
        picVorblin.Line(0, v, right, v, colour);
}

void Draw_Figure(DrawingSurface& picVorblin, const Board& board) {
    const int PosX = board.PosX, PosY = board.PosY;
    const int x0 = PosX - 1;
    const int y0 = PosY == 0 ? 0 : PosY - 1;
    for (int x = x0; x <= x0 + 5; ++x) {
        for (int y = y0; y <= y0 + 4; ++y) {
            const int left = (x - 4) * kCell, top = y * kCell;
            const bool inBox = x >= PosX && x <= PosX + 3 && y >= PosY && y <= PosY + 3;
            if (inBox && board.Figura(x - PosX, y - PosY))
                CellBox(picVorblin, left, top, kCyan, false);
            else if (!board.C(x, y) && x >= 3 && x <= board.MaxX - 3)
                CellBox(picVorblin, left, top, kBlack, true);
        }
    }
}

void Draw_Next(DrawingSurface& picNext, const FigureMatrix& FiguraNext, Colour ColorFigura) {
    picNext.Cls();
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b)
            if (FiguraNext(a, b))
                picNext.FilledBox(a * kCell + 58, b * kCell + 58, a * kCell + 252, b * kCell + 252,
                                  ColorFigura);
}

void Draw_Future(DrawingSurface& picFuture, const FigureQueue& Queue) {
    picFuture.Cls();
    for (int q = 3; q <= 5; ++q) {
        const int top0 = (q - 3) * 1200;
        const std::string& shape = Queue(q).Shape;
        size_t k = 0;
        for (int i = 1; i <= 4; ++i) {
            for (int j = 1; j <= 4; ++j, ++k) {
                const bool filled = k < shape.size() && shape[k] == '1';
                CellBox(picFuture, i * kCell, top0 + j * kCell,
                        filled ? kYellow : kFutureEmptyColour, false);
            }
        }
    }
}

}  // namespace vorblin
