#include "support/fakes.h"

#include <cstdio>

namespace vorblin::testing {

float ScriptedRandom::Rnd() {
    ++draws;
    if (script.empty())
        return fallback;
    const float value = script.front();
    script.pop_front();
    return value;
}

namespace {
std::string Op(const char* kind, int x1, int y1, int x2, int y2, Colour colour) {
    char text[96];
    std::snprintf(text, sizeof text, "%s %d,%d-%d,%d #%X", kind, x1, y1, x2, y2,
                  static_cast<unsigned>(colour));
    return text;
}
}  // namespace

void RecordingSurface::Line(int x1, int y1, int x2, int y2, Colour colour) {
    ops.push_back(Op("line", x1, y1, x2, y2, colour));
}
void RecordingSurface::BoxOutline(int x1, int y1, int x2, int y2, Colour colour) {
    ops.push_back(Op("outline", x1, y1, x2, y2, colour));
}
void RecordingSurface::FilledBox(int x1, int y1, int x2, int y2, Colour colour) {
    ops.push_back(Op("filled", x1, y1, x2, y2, colour));
}

int RecordingSurface::Count(const std::string& prefix) const {
    int count = 0;
    for (const auto& op : ops)
        count += op.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

GameRig::GameRig() : game(GameParts{rnd, clock, well, next, future, sound, records, shell}) {}

void GameRig::SetFigure(const std::string& shape, int x, int y) {
    int16_t ignored = 0;
    Initialize_Array_For_Brikko(game.board.Figura, shape, ignored);
    game.board.PosX = static_cast<uint8_t>(x);
    game.board.PosY = static_cast<uint8_t>(y);
}

int GameRig::TicksUntilLanding(int limit) {
    const int before = game.scores.FigureCount;
    for (int tick = 1; tick <= limit; ++tick) {
        game.tmrDown_Timer();
        if (game.scores.FigureCount != before)
            return tick;
    }
    return -1;
}

}  // namespace vorblin::testing
