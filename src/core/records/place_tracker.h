#pragma once
// The player's place in the hall of fame while a game runs: the climb after each landing.

#include <cstdint>
#include <functional>

#include "core/base/control_state.h"
#include "core/records/records_table.h"

namespace vorblin {

// The controls the climb shows itself on.
struct PlaceControls {
    int16_t& Position;  // 0-based index in lstTable that the player holds
    Label& lblPosition;
    Label& lblNextPlace;
    ListBox& lstTable;
    ListBox& lstStatistic;
    Timer& tmrMigMenuControls;
    std::function<void()> Draw_Grid;  // the well's grid, in the first-place colour at 0
};

struct PlaceTracker {
    // Climbs past every entry the shown score S beats (Position is at most the table's
    // size: the table does not change while a game runs). Compares with the entries' scores
    // themselves, which the list lines show (a long name would shift a line's digits).
    void Update_Place(const RecordTable& table, int32_t S, const PlaceControls& c);

    // Places climbed since the climb was last shown.
    int16_t PlaceChanged = 0;
};

}  // namespace vorblin
