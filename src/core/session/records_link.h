#pragma once
// What the game hands to the hall of fame while it runs.

#include <cstdint>

namespace vorblin {

class RecordsLink {
  public:
    virtual ~RecordsLink() = default;
    // At the start of a game: read the table and show it; returns the number of lines
    // of the hall-of-fame list, which becomes the player's starting Position.
    virtual int16_t Load_Table() = 0;
    // After each landing, with the shown score (whole points).
    virtual void Update_Place(int32_t S) = 0;
    // A new figure overlaps the well: the game-over flow, with the shown score. It may
    // start a new game before it returns.
    virtual void End_Of_Game(int32_t S) = 0;
};

}  // namespace vorblin
