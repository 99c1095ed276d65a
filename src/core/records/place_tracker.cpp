#include "core/records/place_tracker.h"

#include <algorithm>
#include <string>

namespace vorblin {

void PlaceTracker::Update_Place(const RecordTable& table, int32_t S, const PlaceControls& c) {
    auto scoreAbove = [&] { return table[static_cast<size_t>(c.Position - 1)].Score; };
    if (c.Position == 0)
        return;
    // A longer, hand-made table: the places behind the 99th are not places at all.
    c.Position = std::min(c.Position, static_cast<int16_t>(kMaxRecords));
    while (c.Position > 0 && S > scoreAbove()) {
        --c.Position;
        ++PlaceChanged;
    }
    if (c.Position > 0)
        c.lblNextPlace.Caption = "Next Place : +" + ScoreText(scoreAbove() - S);
    if (PlaceChanged == 0)
        return;
    PlaceChanged = 0;
    c.lstTable.ListIndex = c.Position;
    c.lblPosition.Caption = "Place # " + std::to_string(c.Position + 1);
    if (!c.tmrMigMenuControls.Enabled)
        c.tmrMigMenuControls.Enabled = true;
    if (c.Position == 0) {
        c.lblPosition.ForeColor = QBColor(11);
        c.lblNextPlace.Visible = false;
        c.lstStatistic.AddItem("...VICTORY !!!");
        c.Draw_Grid();
    } else {
        c.lstStatistic.AddItem("...Place : " + std::to_string(c.Position + 1));
    }
}

}  // namespace vorblin
