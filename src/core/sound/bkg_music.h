#pragma once
// The background music: one looping buffer, started from a file, stopped and resumed
// where it stands, with its own volume and a pan that the fall tick sweeps.

#include <cstdint>
#include <string>

#include "core/sound/audio_device.h"

namespace vorblin {

class BkgMusic {
  public:
    explicit BkgMusic(AudioDevice& device) : device_(device) {}

    // Stops the current tune and starts the file looping, at full volume and centre pan.
    void PlayBkgMusic(const std::string& path);
    // Reaches the buffer only while BkgPlaying; always remembered in BkgVolume.
    void SetBkgVolume(int16_t volume);
    void SetBkgPan(int32_t pan);
    void StopBkgMusic();
    void ResumeBkgMusic();

    int16_t BkgVolume = 0;
    // True after the last start worked (also while stopped), false after it failed.
    bool BkgPlaying = false;
    std::string BkgPath;

  private:
    void BkgRelease();

    AudioDevice& device_;
};

}  // namespace vorblin
