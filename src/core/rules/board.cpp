#include "core/rules/board.h"

namespace vorblin {

bool Board::Enable_Move_Down() const {
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 4; ++b) {
            if (!Figura(a, b))
                continue;
            if (C(PosX + a, PosY + b + 1) || PosY + b == LastRow())
                return false;
        }
    }
    return true;
}

void Board::WriteFigure() {
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b)
            if (Figura(a, b))
                C(PosX + a, PosY + b) = true;
}

bool Board::GameOver() const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (Figura(i, j) && C(PosX + i, PosY + j))
                return true;
    return false;
}

bool Board::Enable_Move_Left_Right(int16_t Index) const {
    const int x = PosX + Index - 1;
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 4; ++b) {
            if (!Figura(a, b))
                continue;
            const int column = x + a;
            if (column < kFirstColumn || column > LastColumn() || C(column, PosY + b))
                return false;
        }
    }
    return true;
}

FigureMatrix Board::Rotated() const {
    FigureMatrix T;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            T(3 - i, j) = Figura(j, i);
    return T;
}

bool Board::Enable_Rotate(const FigureMatrix& T) const {
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 4; ++b) {
            if (!T(a, b))
                continue;
            if (C(PosX + a, PosY + b) || PosX + a < kFirstColumn || PosX + a > LastColumn() ||
                PosY + b > LastRow())
                return false;
        }
    }
    return true;
}

bool Board::Rotate_Figure() {
    const FigureMatrix T = Rotated();
    if (!Enable_Rotate(T))
        return false;
    Figura = T;
    return true;
}

bool Board::Enable_Inverse() const {
    if (PosX < 4 || PosX > 15)
        return false;
    // A box filled in all sixteen cells would invert into a figure with no cell,
    // which could never land.
    if (Figura.FilledCount() == 16)
        return false;
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 4; ++b) {
            if (C(PosX + a, PosY + b))
                return false;
            if (!Figura(a, b) && PosY + b > LastRow())
                return false;
        }
    }
    return true;
}

void Board::Invert() {
    for (auto& column : Figura.cells)
        for (bool& cell : column)
            cell = !cell;
}

}  // namespace vorblin
