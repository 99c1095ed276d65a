#pragma once
// What the settings window shows and how its texts are read, without the window.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/rules/sound_board.h"
#include "core/sound/sound_system.h"

namespace vorblin {

// An entry of the event list and the channels behind its one or two variants.
struct EventEntry {
    std::string_view caption;
    Channel first;
    std::optional<Channel> second;
};

// How many entries the list has: the table of sounds numbers them 1 .. kEventCount.
inline constexpr size_t kEventCount = [] {
    int last = 0;
    for (const SoundRow& row : kEventSounds)
        last = row.list > last ? row.list : last;
    return static_cast<size_t>(last);
}();

// The entries in the order they are put into the list.
const std::array<EventEntry, kEventCount>& ListEvents();

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

// What the settings window's background-music controls do to the sound; the window only
// shows the values.
// "Выключить": stops the tune where it stands, or resumes it; the fall tick sweeps the pan
// only while it is on.
void SetBkgMusicOff(SoundSystem& sound, bool off);
// The volume slider: the tune's volume now, and the one the settings file keeps.
void SetBkgMusicVolume(SoundSystem& sound, int16_t volume);
// The sweep speed, from the slider or its box: at 0 or below (where the slider stands at
// its start) the sweep also goes back to its start.
void SetPanSpeed(SoundSystem& sound, int16_t speed);
// The chooser closed: a chosen tune plays and is kept; the slider's volume is applied again
// either way.
void ChooseBkgMusic(SoundSystem& sound, const std::optional<std::string>& path, int16_t volume);

}  // namespace vorblin
