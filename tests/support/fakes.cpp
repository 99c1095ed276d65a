#include "support/fakes.h"

#include <stdlib.h>

#include <filesystem>

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

namespace {
const char* SideName(SideWindow window) {
    static const char* const kNames[] = {"frmVorblinFathers", "frmStatistic", "frmFuture"};
    return kNames[static_cast<int>(window)];
}
}  // namespace

FakeSides::FakeSides() {
    At(SideWindow::frmVorblinFathers).size = {3090, 3630};
    At(SideWindow::frmStatistic).size = {2400, 3615};
    At(SideWindow::frmFuture).size = {1635, 4260};
}

bool FakeSides::SideVisible(SideWindow window) {
    At(window).loaded = true;
    return At(window).visible;
}

void FakeSides::SetSideVisible(SideWindow window, bool visible) {
    At(window).loaded = true;
    At(window).visible = visible;
    log.push_back(std::string(visible ? "show " : "hide ") + SideName(window));
}

void FakeSides::MoveSide(SideWindow window, WindowPosition position) {
    At(window).position = position;
    log.push_back(std::string("move ") + SideName(window) + " " + std::to_string(position.Left) +
                  "," + std::to_string(position.Top));
}

WindowSize FakeSides::SideSize(SideWindow window) {
    At(window).loaded = true;
    return At(window).size;
}

void FakeSides::SetSideMinimized(SideWindow window, bool minimized) {
    At(window).minimized = minimized;
    log.push_back(std::string(minimized ? "minimise " : "normal ") + SideName(window));
}

void FakeSides::UnloadSideWindows() {
    for (Side& side : sides)
        side = Side{false, false, false, side.position, side.size};
    log.push_back("unload");
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

std::string TempFolder::File(std::string_view name) const {
    return path + "/" + std::string(name);
}

ShellRig::ShellRig()
    : shell(ShellParts{rnd, clock, well, next, future, sound, host, dialogs, sides, folder.path}) {}

}  // namespace vorblin::testing
