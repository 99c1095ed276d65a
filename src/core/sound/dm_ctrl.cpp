#include "core/sound/dm_ctrl.h"

#include <algorithm>

namespace vorblin {

int32_t ClampVolume(int32_t volume) {
    return std::clamp<int32_t>(volume, -10000, 0);
}

int32_t ClampPan(int32_t pan) {
    return std::clamp<int32_t>(pan, -10000, 10000);
}

void DMCtrl::DMCtrlPlay(bool soundControl) {
    if (!soundControl || !blnEnabled)
        return;
    if (hasBuffer_) {
        const bool stopped = device_.Stop(slot_);
        device_.Release(slot_);
        hasBuffer_ = false;
        if (!stopped)
            return;
    }
    // Without a device nothing after this can sound. A sound that cannot be made stays
    // silent; a refused volume plays the file at its own loudness.
    if (!device_.Open()) {
        DMCtrlRelease();
        return;
    }
    hasBuffer_ = device_.Load(slot_, strPath);
    if (!hasBuffer_)
        return;
    device_.SetVolume(slot_, ClampVolume(intVolume));
    device_.Play(slot_, false);
}

void DMCtrl::DMCtrlRelease() {
    device_.Release(slot_);
    hasBuffer_ = false;
}

}  // namespace vorblin
