#pragma once
// One event sound channel. It remembers a WAV file, a volume and a switch and
// plays the file once on request; a new play cuts the channel's previous sound off.

#include <cstdint>
#include <string>

#include "core/sound/audio_device.h"

namespace vorblin {

class DMCtrl {
  public:
    DMCtrl(AudioDevice& device, int slot) : device_(device), slot_(slot) {}

    // soundControl is the main window's master switch of the event sounds.
    void DMCtrlPlay(bool soundControl);

    const std::string& DMCtrlPath() const { return strPath; }
    void DMCtrlPath(const std::string& NewPath) { strPath = NewPath; }
    int16_t DMCtrlVolume() const { return intVolume; }
    void DMCtrlVolume(int16_t NewVolume) { intVolume = NewVolume; }
    bool DMCtrlEnabled() const { return blnEnabled; }
    void DMCtrlEnabled(bool NewEnable) { blnEnabled = NewEnable; }

  private:
    void DMCtrlRelease();

    AudioDevice& device_;
    int slot_;
    std::string strPath;
    int16_t intVolume = 0;
    bool blnEnabled = false;
    bool hasBuffer_ = false;
};

// Volumes reach the device only within -10000..0 (a hand-edited file may hold others).
int32_t ClampVolume(int32_t volume);
int32_t ClampPan(int32_t pan);

}  // namespace vorblin
