#pragma once
// The sound output as the channels and the background music see it: numbered slots, each
// holding at most one buffer made from a WAV file. A slot's buffer starts at full volume
// and centre pan; volumes are hundredths of a decibel (-10000..0), pans -10000..10000.

#include <cstdint>
#include <string>

#include "core/rules/sound_board.h"

namespace vorblin {

class AudioDevice {
  public:
    virtual ~AudioDevice() = default;
    // The default output device is ready; false when it cannot be opened.
    virtual bool Open() = 0;
    // A new buffer in the slot from the file, replacing the slot's old one.
    virtual bool Load(int slot, const std::string& path) = 0;
    virtual bool SetVolume(int slot, int32_t volume) = 0;
    virtual bool SetPan(int slot, int32_t pan) = 0;
    virtual bool Play(int slot, bool looping) = 0;
    // Stops the slot's sound; it keeps its position, so a later Play goes on from there.
    virtual bool Stop(int slot) = 0;
    // Drops the slot's buffer; it falls silent.
    virtual void Release(int slot) = 0;
};

// The slot of the background music, after the event channels' 0 .. kChannelCount - 1.
inline constexpr int kBkgSlot = kChannelCount;

}  // namespace vorblin
