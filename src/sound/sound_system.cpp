#include "sound/sound_system.h"

namespace vorblin {

void SoundSystem::CreateChannels() {
    for (int slot = 0; slot < kChannelCount; ++slot)
        if (channels_[static_cast<size_t>(slot)] == nullptr)
            channels_[static_cast<size_t>(slot)] = std::make_unique<DMCtrl>(device_, slot);
}

void SoundSystem::StartPanSweep() {
    ForLoop = SpeedChange == 0 ? 0 : -5000;
    ForLoopDir = 1;
}

void SoundSystem::Play(Channel channel) {
    if (DMCtrl* c = Get(channel))
        c->DMCtrlPlay(EnableSoundControl);
}

void SoundSystem::PanSweepStep() {
    bkg.SetBkgPan(ForLoop);
    // The turn is tested before the step, so the pan overshoots the marks by one step.
    if (ForLoop > 5000 || ForLoop < -5000)
        ForLoopDir = static_cast<int16_t>(-ForLoopDir);
    ForLoop += ForLoopDir * SpeedChange;
}

}  // namespace vorblin
