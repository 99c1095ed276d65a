#pragma once
// The five drawing operations of the game, against a surface in its own units.

#include "core/base/colours.h"
#include "core/rules/board.h"
#include "core/rules/figures.h"

namespace vorblin {

// A surface that keeps what is drawn on it until it is cleared or drawn over.
class DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;
    virtual void Cls() = 0;
    virtual void Line(int x1, int y1, int x2, int y2, Colour colour) = 0;
    virtual void BoxOutline(int x1, int y1, int x2, int y2, Colour colour) = 0;
    virtual void FilledBox(int x1, int y1, int x2, int y2, Colour colour) = 0;
};

constexpr int kCell = 250;
constexpr int kInset = 28;
constexpr Colour kGridColour = RGB(150, 175, 175);
constexpr Colour kFirstPlaceGridColour = RGB(200, 200, 210);
constexpr Colour kFutureEmptyColour = RGB(120, 120, 120);

void Draw_Field(DrawingSurface& picVorblin, const Board& board);
void Draw_Grid(DrawingSurface& picVorblin, const Board& board, int16_t Position);
void Draw_Figure(DrawingSurface& picVorblin, const Board& board);
void Draw_Next(DrawingSurface& picNext, const FigureMatrix& FiguraNext, Colour ColorFigura);
void Draw_Future(DrawingSurface& picFuture, const FigureQueue& Queue);

}  // namespace vorblin
