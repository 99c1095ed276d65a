// The figure's redraw and a whole-well redraw on the image the well shows on screen.

#include <benchmark/benchmark.h>

#include "desktop/toolkit/image_surface.h"

namespace vorblin {
namespace {

Board FallingBar() {
    Board board;
    board.Reset();
    int16_t counter = 0;
    Initialize_Array_For_Brikko(board.Figura, kOrdinaryShapes[2], counter);
    board.PosY = 12;
    for (int x = 4; x <= 18; x += 2)
        board.C(x, 30) = true;
    return board;
}

void BM_DrawFigureOnImage(benchmark::State& state) {
    ImageSurface well(QSize(233, 433), 3760, 7760, kBlack);
    const Board board = FallingBar();
    for (auto _ : state)
        Draw_Figure(well, board);
    benchmark::DoNotOptimize(well.TakeDamage());
}
BENCHMARK(BM_DrawFigureOnImage);

void BM_RedrawWholeWellOnImage(benchmark::State& state) {
    ImageSurface well(QSize(233, 433), 3760, 7760, kBlack);
    const Board board = FallingBar();
    for (auto _ : state) {
        Draw_Field(well, board);
        Draw_Grid(well, board, 2);
        Draw_Figure(well, board);
    }
    benchmark::DoNotOptimize(well.TakeDamage());
}
BENCHMARK(BM_RedrawWholeWellOnImage);

}  // namespace
}  // namespace vorblin

BENCHMARK_MAIN();
