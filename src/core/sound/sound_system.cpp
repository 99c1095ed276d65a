#include "core/sound/sound_system.h"

namespace vorblin {

void SoundSystem::CreateChannels() {
    int slot = 0;
    for (std::unique_ptr<DMCtrl>& channel : channels_) {
        if (channel == nullptr)
            channel = std::make_unique<DMCtrl>(device_, slot);
        ++slot;
    }
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
