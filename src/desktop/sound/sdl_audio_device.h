#pragma once
// The sound output on SDL2_mixer: one mixer channel per slot. Decoded sounds are kept per
// path and decoded again only when the file changes, so a play never waits for the disk.

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <string>

#include "core/sound/audio_device.h"

struct Mix_Chunk;

namespace vorblin {

// How a volume (hundredths of a decibel) and a pan become the mixer's factors: the 128-step
// channel volume and the two 255-step panning factors, the volume folded into both so that
// quiet settings keep their resolution.
struct MixerLevels {
    int volume;  // 0..128
    int left;    // 0..255
    int right;   // 0..255
};
MixerLevels LevelsFor(int32_t volume, int32_t pan);

class SdlAudioDevice final : public AudioDevice {
  public:
    SdlAudioDevice() = default;
    ~SdlAudioDevice() override;
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    // Opens the device on first use; a failed open is not tried again, the game stays silent.
    bool Open() override;
    bool Load(int slot, const std::string& path) override;
    bool SetVolume(int slot, int32_t volume) override;
    bool SetPan(int slot, int32_t pan) override;
    bool Play(int slot, bool looping) override;
    bool Stop(int slot) override;
    void Release(int slot) override;

    // How many times a file was decoded (measurements and tests).
    int Decodes() const { return decodes_; }

  private:
    struct Sound {
        std::shared_ptr<Mix_Chunk> chunk;  // null: the file is not a usable sound
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
    };
    struct Slot {
        std::shared_ptr<Mix_Chunk> chunk;
        int32_t volume = 0;
        int32_t pan = 0;
        bool started = false;
        // What the mixer holds for the channel; a sweep step that changes nothing audible
        // does not lock the mixer.
        MixerLevels applied{-1, -1, -1};
    };
    enum class State { Closed, Open, Failed };

    std::shared_ptr<Mix_Chunk> Decode(const std::string& path);
    Slot* Loaded(int slot);
    void ApplyLevels(int slot, bool always = false);

    State state_ = State::Closed;
    std::map<std::string, Sound> cache_;
    std::array<Slot, kBkgSlot + 1> slots_;
    int decodes_ = 0;
};

}  // namespace vorblin
