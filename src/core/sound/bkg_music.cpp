#include "core/sound/bkg_music.h"

#include "core/sound/dm_ctrl.h"

namespace vorblin {

void BkgMusic::PlayBkgMusic(const std::string& path) {
    BkgPath = path;
    // The buffer exists exactly while BkgPlaying: every failure below releases it.
    if (BkgPlaying) {
        device_.Stop(kBkgSlot);
        device_.Release(kBkgSlot);
    }
    // An empty path has nothing to play: the device is not even opened for it (opening
    // one is slow where there is no sound card, and the first start has no music chosen).
    BkgPlaying = !BkgPath.empty() && device_.Open() && device_.Load(kBkgSlot, BkgPath) &&
                 device_.Play(kBkgSlot, true);
    if (!BkgPlaying)
        BkgRelease();
}

void BkgMusic::SetBkgVolume(int16_t volume) {
    if (BkgPlaying)
        device_.SetVolume(kBkgSlot, ClampVolume(volume));
    BkgVolume = volume;
}

void BkgMusic::SetBkgPan(int32_t pan) {
    if (BkgPlaying)
        device_.SetPan(kBkgSlot, ClampPan(pan));
}

void BkgMusic::StopBkgMusic() {
    if (BkgPlaying)
        device_.Stop(kBkgSlot);
}

void BkgMusic::ResumeBkgMusic() {
    if (BkgPlaying)
        device_.Play(kBkgSlot, true);
}

void BkgMusic::BkgRelease() {
    device_.Release(kBkgSlot);
}

}  // namespace vorblin
