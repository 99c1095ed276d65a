// Costs of the game's hot paths: the 2 ms fall tick that does not land, a landing
// that removes four rows, and the figure's redraw.

#include <benchmark/benchmark.h>

#include "support/fakes.h"

namespace vorblin {
namespace {

struct NullRecords final : RecordsLink {
    int16_t Load_Table() override { return 1; }
    void Update_Place(int32_t) override {}
    void End_Of_Game(int32_t) override {}
};

struct NullShell final : ShellLink {
    void FocusWell() override {}
    void Minimize() override {}
    void RestoreAndActivate() override {}
};

// Counts the drawing operations and nothing else.
class CountingSurface final : public DrawingSurface {
  public:
    void Cls() override { ++ops; }
    void Line(int, int, int, int, Colour) override { ++ops; }
    void BoxOutline(int, int, int, int, Colour) override { ++ops; }
    void FilledBox(int, int, int, int, Colour) override { ++ops; }
    long ops = 0;
};

struct BenchGame {
    Lcg24Random rnd;
    testing::FixedClock clock;
    CountingSurface well, next, future;
    SilentSoundBoard sound;
    NullRecords records;
    NullShell shell;
    Game game{GameParts{rnd, clock, well, next, future, sound, records, shell}};
    BenchGame() { game.Form_Load(); }
};

void BM_TickWithoutLanding(benchmark::State& state) {
    BenchGame b;
    for (auto _ : state) {
        b.game.TickCount = 0;  // keep the figure where it is: no fall step, no landing
        b.game.tmrDown_Timer();
        if (b.game.scores.TimeTicks > 150)
            b.game.scores.TimeTicks = 0;  // keep the label moving
    }
    benchmark::DoNotOptimize(b.game.scores.lblTimeBonus.Caption.data());
}
BENCHMARK(BM_TickWithoutLanding);

void BM_TickWithFallStep(benchmark::State& state) {
    BenchGame b;
    for (auto _ : state) {
        b.game.TickCount = 149;  // every tick moves the figure one row (and redraws it)
        if (b.game.board.PosY > 20)
            b.game.board.PosY = 0;
        b.game.tmrDown_Timer();
    }
    benchmark::DoNotOptimize(b.well.ops);
}
BENCHMARK(BM_TickWithFallStep);

void BM_LandingRemovingFourRows(benchmark::State& state) {
    BenchGame b;
    const std::vector<std::string> rows(4, "#####.#########");
    int16_t cells = 0;
    // The set-up of each landing (a few hundred cells written) is timed with it: pausing
    // the clock would cost more than the set-up.
    for (auto _ : state) {
        b.game.board.Reset();
        testing::SetBottom(b.game.board, rows);
        Initialize_Array_For_Brikko(b.game.board.Figura, "0000111100000000", cells);
        b.game.board.PosX = 8;
        b.game.board.PosY = 27;
        b.game.TickCount = 149;
        b.game.lstStatistic.Clear();
        b.game.scores.LinesInLevel = 0;  // the common landing: no level change
        b.game.tmrDown_Timer();
    }
    if (b.game.scores.LineCounts[4] == 0)
        state.SkipWithError("the landing removed no rows");
}
BENCHMARK(BM_LandingRemovingFourRows);

void BM_DrawFigure(benchmark::State& state) {
    BenchGame b;
    b.game.board.PosY = 12;
    for (auto _ : state)
        Draw_Figure(b.well, b.game.board);
    benchmark::DoNotOptimize(b.well.ops);
}
BENCHMARK(BM_DrawFigure);

}  // namespace
}  // namespace vorblin

BENCHMARK_MAIN();
