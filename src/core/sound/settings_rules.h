#pragma once
// What the settings window shows and how its texts are read, without the window.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/rules/sound_board.h"

namespace vorblin {

// An entry of the event list and the channels behind its one or two variants.
struct EventEntry {
    std::string_view caption;
    Channel first;
    std::optional<Channel> second;
};

// The entries in the order they are put into the list.
const std::array<EventEntry, 8>& ListEvents();

// The text after the last separator of the path; the whole path when it has none.
std::string Get_File_Name(const std::string& Path);
// The path up to and including its last separator; empty when it has none.
std::string Get_Folder(const std::string& Path);

// The largest pan sweep speed the window offers.
inline constexpr int kMaxSpeedChange = 500;

// How the pan sweep speed box reads its text: the leading number, rounded (0 when there is
// none). A speed above the maximum is not taken: the box is to show the maximum instead.
struct SpeedText {
    int16_t speed = 0;
    bool tooLarge = false;
};
SpeedText ReadSpeedText(std::string_view text);

}  // namespace vorblin
