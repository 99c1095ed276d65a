#pragma once
// The main window's sound: the event channels, the background music and the public
// sound settings, behind the board the game plays its events on.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/rules/sound_board.h"
#include "core/sound/audio_device.h"
#include "core/sound/bkg_music.h"
#include "core/sound/dm_ctrl.h"

namespace vorblin {

class SoundSystem final : public SoundBoard {
  public:
    explicit SoundSystem(AudioDevice& device) : bkg(device), device_(device) {}

    // Creates the channels in their order (once; a second call keeps them).
    void CreateChannels();
    // The channel, once created; nullptr before.
    DMCtrl* Get(Channel channel) { return channels_[static_cast<size_t>(channel)].get(); }
    const DMCtrl* Get(Channel channel) const {
        return channels_[static_cast<size_t>(channel)].get();
    }

    // Starts the pan sweep after the settings are read: from the left when it moves.
    void StartPanSweep();

    // SoundBoard
    void Play(Channel channel) override;
    bool EnableLoop() const override { return enableLoop; }
    void PanSweepStep() override;

    BkgMusic bkg;
    bool EnableSoundControl = false;
    bool enableLoop = false;
    std::string PathToBkgMusic;
    int16_t VolumeBkgMusic = 0;
    // The pan handed to the background music on the next tick; wider than the pan range
    // holds, since the sweep overshoots by one step and a hand-edited speed can be large.
    int32_t ForLoop = 0;
    int16_t SpeedChange = 0;
    int16_t ForLoopDir = 1;

  private:
    AudioDevice& device_;
    std::array<std::unique_ptr<DMCtrl>, kChannelCount> channels_;
};

}  // namespace vorblin
