#pragma once
// What the game asks of its sound: one play per event channel, and the background
// tune's pan sweep on every fall tick.

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string_view>

#include "core/rules/sound_board_table.h"

namespace vorblin {

// The event channels, in the order they are created (the rows of sound_board_table.h).
enum class Channel : uint8_t {
#define VORBLIN_CHANNEL(channel, ...) channel,
    VORBLIN_EVENT_SOUNDS(VORBLIN_CHANNEL)
#undef VORBLIN_CHANNEL
        Count,  // not a channel: how many there are
};

inline constexpr int kChannelCount = static_cast<int>(Channel::Count);

// A row of the table of sounds.
struct SoundRow {
    std::string_view channel;  // the channel's name, as failures print it
    std::string_view file;     // below sound/, without ".WAV"
    int list;                  // the settings list's entry, 1 first (0: none)
    int variant;               // 1 or 2
    std::string_view kind;     // sounds of one kind never sound together
    double peak;               // the file's highest sample, of full scale
    std::string_view label;    // the settings list's entry
};

#define VORBLIN_SOUND_ROW(channel, ...) \
    SoundRow {                          \
#channel, __VA_ARGS__           \
    }
#define VORBLIN_SOUND_ROWS(...) VORBLIN_SOUND_ROW(__VA_ARGS__),
inline constexpr std::array<SoundRow, kChannelCount> kEventSounds = {
    VORBLIN_EVENT_SOUNDS(VORBLIN_SOUND_ROWS)};
inline constexpr SoundRow kMusicSound = VORBLIN_MUSIC_SOUND(VORBLIN_SOUND_ROW);
#undef VORBLIN_SOUND_ROWS
#undef VORBLIN_SOUND_ROW

constexpr const SoundRow& Row(Channel channel) {
    return kEventSounds[static_cast<size_t>(channel)];
}

// Failures print a channel by its name.
std::ostream& operator<<(std::ostream& out, Channel channel);

class SoundBoard {
  public:
    virtual ~SoundBoard() = default;
    virtual void Play(Channel channel) = 0;
    // The background music is switched on (the fall tick sweeps its pan only then).
    virtual bool EnableLoop() const = 0;
    virtual void PanSweepStep() = 0;
};

// A board that plays nothing, for a game without sound.
class SilentSoundBoard final : public SoundBoard {
  public:
    void Play(Channel) override {}
    bool EnableLoop() const override { return false; }
    void PanSweepStep() override {}
};

// The event sounds by number, from 1: what Play_Event_Sound plays (the help tour draws
// its page sounds from these numbers).
inline constexpr std::array<Channel, 7> kSoundByCode = {
    Channel::mVorblin1, Channel::mDown1, Channel::mLeft1,   Channel::mRight1,
    Channel::mRotate1,  Channel::mDrop1, Channel::mDelLin1,
};

// Plays kSoundByCode's sound Code (1 its first); any other number plays nothing.
void Play_Event_Sound(SoundBoard& sound, uint8_t Code);

}  // namespace vorblin
