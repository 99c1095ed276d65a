#pragma once
// The well and the falling figure, with the tests that keep the figure inside it.

#include <array>
#include <cstdint>

#include "core/rules/figures.h"

namespace vorblin {

class Board {
  public:
    static constexpr int kColumns = 23;  // 0..22; 4..18 playable
    static constexpr int kRows = 35;     // 0..34; 0..30 playable
    static constexpr int kFirstColumn = 4;
    static constexpr int kStartX = 18 / 2;

    // Creates the well and both matrices anew, empty, and puts the figure at the start.
    void Reset() { *this = Board{}; }

    bool& C(int x, int y) { return well_[static_cast<size_t>(x)][static_cast<size_t>(y)]; }
    bool C(int x, int y) const { return well_[static_cast<size_t>(x)][static_cast<size_t>(y)]; }

    int LastColumn() const { return MaxX - 4; }
    int LastRow() const { return MaxY - 4; }

    bool Enable_Move_Down() const;
    // Writes the falling figure into the well.
    void WriteFigure();
    bool GameOver() const;

    bool Enable_Move_Left_Right(int16_t Index) const;
    // The figure turned a quarter turn clockwise inside its box.
    FigureMatrix Rotated() const;
    bool Enable_Rotate(const FigureMatrix& T) const;
    // Rotates Figura when the turned figure fits; reports whether it turned.
    bool Rotate_Figure();
    bool Enable_Inverse() const;
    void Invert();

    uint8_t MaxX = kColumns - 1;
    uint8_t MaxY = kRows - 1;
    FigureMatrix Figura;
    FigureMatrix FiguraNext;
    uint8_t PosX = kStartX;
    uint8_t PosY = 0;

  private:
    std::array<std::array<bool, kRows>, kColumns> well_{};  // [column][row]
};

}  // namespace vorblin
