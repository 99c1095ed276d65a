// Costs of the hall of fame: the place tracking every landing runs, and the store at game
// over (lock, read again, insert, atomic write) with a full table.

#include <benchmark/benchmark.h>

#include "core/records/hall_of_fame.h"
#include "core/records/place_tracker.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

RecordTable FullTable() {
    RecordTable table;
    for (int i = 0; i < 99; ++i)
        table.push_back({"Player" + std::to_string(i), 100000.0 - 1000 * i});
    return table;
}

// A landing whose score passes nothing: the common case (compare, one caption).
void BM_UpdatePlaceNoClimb(benchmark::State& state) {
    const RecordTable table = FullTable();
    PlaceTracker tracker;
    int16_t Position = 50;
    Label lblPosition, lblNextPlace;
    ListBox lstTable, lstStatistic;
    Timer flash;
    const PlaceControls controls{Position,     lblPosition, lblNextPlace, lstTable,
                                 lstStatistic, flash,       [] {}};
    for (auto _ : state) {
        tracker.Update_Place(table, 50000, controls);
        benchmark::DoNotOptimize(lblNextPlace.Caption.data());
    }
}
BENCHMARK(BM_UpdatePlaceNoClimb);

// A landing that climbs one place (selection, caption, a statistics line).
void BM_UpdatePlaceClimbOne(benchmark::State& state) {
    const RecordTable table = FullTable();
    PlaceTracker tracker;
    Label lblPosition, lblNextPlace;
    ListBox lstTable, lstStatistic;
    Timer flash;
    int16_t Position = 0;
    const PlaceControls controls{Position,     lblPosition, lblNextPlace, lstTable,
                                 lstStatistic, flash,       [] {}};
    for (auto _ : state) {
        Position = 60;
        lstStatistic.Items.clear();
        tracker.Update_Place(table, 41000 + 1, controls);  // passes entry 60 (41000)
    }
    if (Position != 59)
        state.SkipWithError("no climb");
}
BENCHMARK(BM_UpdatePlaceClimbOne);

// The whole store of a result into a full table on this machine's disk.
void BM_GameOverStoreFullTable(benchmark::State& state) {
    testing::TempFolder folder;
    HallOfFame fame(folder.path);
    WriteFileAtomically(fame.Path(), FormatRecords(FullTable()));
    int32_t score = 50500;
    for (auto _ : state) {
        fame.Read_Records_File();
        const auto entry = fame.Add_Record(
            score,
            [] {
                return NameEntry{"Bench", false};
            },
            [] { return std::string(); });
        if (!fame.Write_Records_File(entry))
            state.SkipWithError("not stored");
        score += 1;
    }
    state.counters["entries"] = static_cast<double>(fame.Table.size());
}
BENCHMARK(BM_GameOverStoreFullTable)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorblin

BENCHMARK_MAIN();
