#include "core/sound/settings_rules.h"

#include <algorithm>
#include <limits>

#include "core/base/text_scan.h"

namespace vorblin {

namespace {

// Every entry has one first variant and at most one second of the same label.
constexpr std::optional<std::array<EventEntry, kEventCount>> EventsOfTable() {
    std::array<EventEntry, kEventCount> events{};
    std::array<int, kEventCount> firsts{}, seconds{};
    for (size_t c = 0; c < kEventSounds.size(); ++c) {
        const SoundRow& row = kEventSounds[c];
        if (row.list < 1 || (row.variant != 1 && row.variant != 2))
            return std::nullopt;
        EventEntry& entry = events[static_cast<size_t>(row.list - 1)];
        if (row.variant == 1) {
            ++firsts[static_cast<size_t>(row.list - 1)];
            entry.first = static_cast<Channel>(c);
        } else {
            ++seconds[static_cast<size_t>(row.list - 1)];
            entry.second = static_cast<Channel>(c);
        }
        if (!entry.caption.empty() && entry.caption != row.label)
            return std::nullopt;
        entry.caption = row.label;
    }
    for (size_t e = 0; e < kEventCount; ++e)
        if (firsts[e] != 1 || seconds[e] > 1)
            return std::nullopt;
    return events;
}
static_assert(EventsOfTable().has_value(),
              "sound_board_table.h: every list entry 1 .. its last has one first variant and at "
              "most one second, both of the same label");

}  // namespace

const std::array<EventEntry, kEventCount>& ListEvents() {
    static constexpr std::array<EventEntry, kEventCount> kEvents = *EventsOfTable();
    return kEvents;
}

std::string Get_File_Name(const std::string& Path) {
    const size_t last = Path.rfind('/');
    return last == std::string::npos ? Path : Path.substr(last + 1);
}

std::string Get_Folder(const std::string& Path) {
    const size_t last = Path.rfind('/');
    return last == std::string::npos ? std::string() : Path.substr(0, last + 1);
}

void SetBkgMusicOff(SoundSystem& sound, bool off) {
    if (off)
        sound.bkg.StopBkgMusic();
    else
        sound.bkg.ResumeBkgMusic();
    sound.enableLoop = !off;
}

void SetBkgMusicVolume(SoundSystem& sound, int16_t volume) {
    sound.bkg.SetBkgVolume(volume);
    sound.VolumeBkgMusic = volume;
}

void SetPanSpeed(SoundSystem& sound, int16_t speed) {
    sound.SpeedChange = speed;
    if (speed <= 0)
        sound.ForLoop = 0;
}

void ChooseBkgMusic(SoundSystem& sound, const std::optional<std::string>& path, int16_t volume) {
    if (path) {
        sound.bkg.PlayBkgMusic(*path);
        sound.PathToBkgMusic = *path;
    }
    sound.bkg.SetBkgVolume(volume);
}

SpeedText ReadSpeedText(std::string_view text) {
    const double v = LeadingWholeNumber(text).value_or(0.0);
    if (v > kMaxSpeedChange)
        return {kMaxSpeedChange, true};
    // A negative speed sweeps the other way; it is kept within what the setting can hold.
    const double lowest = std::numeric_limits<int16_t>::min();
    return {static_cast<int16_t>(std::max(v, lowest)), false};
}

}  // namespace vorblin
