#include "core/sound/settings_rules.h"

#include <limits>

#include "core/base/text_scan.h"
#include "core/base/translation.h"

namespace vorblin {

const std::array<EventEntry, 8>& ListEvents() {
    static const std::array<EventEntry, 8> kEvents = {{
        {N_("Инверсия"), Channel::mInverse1, std::nullopt},
        {N_("Появление Vorblin-фигурки"), Channel::mVorblin1, std::nullopt},
        {N_("Удаление линиий"), Channel::mDelLin1, std::nullopt},
        {N_("Приземление"), Channel::mDown1, Channel::mDown2},
        {N_("Бросить"), Channel::mDrop1, Channel::mDrop2},
        {N_("Вращение"), Channel::mRotate1, std::nullopt},
        {N_("Влево"), Channel::mLeft1, std::nullopt},
        {N_("Вправо"), Channel::mRight1, std::nullopt},
    }};
    return kEvents;
}

std::string Get_File_Name(const std::string& Path) {
    const size_t last = Path.rfind('/');
    return last == std::string::npos ? Path : Path.substr(last + 1);
}

std::string Get_Folder(const std::string& Path) {
    const size_t last = Path.rfind('/');
    return last == std::string::npos ? std::string() : Path.substr(0, last + 1);
}

void SetBkgMusicOff(SoundSystem& sound, bool off) {
    if (off)
        sound.bkg.StopBkgMusic();
    else
        sound.bkg.ResumeBkgMusic();
    sound.enableLoop = !off;
}

void SetBkgMusicVolume(SoundSystem& sound, int16_t volume) {
    sound.bkg.SetBkgVolume(volume);
    sound.VolumeBkgMusic = volume;
}

void SetPanSpeed(SoundSystem& sound, int16_t speed) {
    sound.SpeedChange = speed;
    if (speed <= 0)
        sound.ForLoop = 0;
}

void ChooseBkgMusic(SoundSystem& sound, const std::optional<std::string>& path, int16_t volume) {
    if (path) {
        sound.bkg.PlayBkgMusic(*path);
        sound.PathToBkgMusic = *path;
    }
    sound.bkg.SetBkgVolume(volume);
}

SpeedText ReadSpeedText(std::string_view text) {
    const double v = LeadingWholeNumber(text).value_or(0.0);
    if (v > kMaxSpeedChange)
        return {kMaxSpeedChange, true};
    // A negative speed sweeps the other way; it is kept within what the setting can hold.
    const double lowest = std::numeric_limits<int16_t>::min();
    return {static_cast<int16_t>(v < lowest ? lowest : v), false};
}

}  // namespace vorblin
