// The sound output on SDL_mixer and the shipped sounds.
#include <SDL.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "core/rules/sound_board.h"
#include "core/sound/settings_rules.h"
#include "desktop/sound/frm_settings_window.h"
#include "desktop/sound/sdl_audio_device.h"
#include "desktop/window_tests.h"
#include "support/fake_audio.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

// The settings window: an event's variants, each switched and turned by its own controls; the
// typed sweep speed held at its maximum.
TEST(FrmSettings, EachControlChangesItsOwnSettingAndTheSpeedIsHeldAtItsMaximum) {
    testing::FakeAudioDevice device;
    SoundSystem sound{device};
    sound.CreateChannels();
    for (int c = 0; c < kChannelCount; ++c) {
        sound.Get(Channel(c))->DMCtrlPath("/snd/" + std::to_string(c) + ".wav");
        sound.Get(Channel(c))->DMCtrlVolume(-1500);
        sound.Get(Channel(c))->DMCtrlEnabled(true);
    }
    FrmSettings window(sound, nullptr);
    window.show();
    window.findChild<QComboBox*>("cmbListEvents")->setCurrentText("Бросить");
    testing::Click(&window, "chkEnFirstVar");
    QTest::keyClick(window.findChild<QSlider*>("sldVolBut2"), Qt::Key_PageUp);
    window.findChild<QLineEdit*>("txtChange")->setText("1000");
    const DMCtrl &drop1 = *sound.Get(Channel::mDrop1), &drop2 = *sound.Get(Channel::mDrop2);
    using testing::Show;
    EXPECT_EQ(Show("label", window.findChild<QLabel*>("lblSecondVar")->text().toStdString(),
                   "drop1 on", drop1.DMCtrlEnabled(), "drop1 volume", drop1.DMCtrlVolume(),
                   "drop2 on", drop2.DMCtrlEnabled(), "drop2 volume", drop2.DMCtrlVolume(), "speed",
                   sound.SpeedChange),
              Show("label", std::to_string(int(Channel::mDrop2)) + ".wav", "drop1 on", false,
                   "drop1 volume", -1500, "drop2 on", true, "drop2 volume", -500, "speed",
                   kMaxSpeedChange));
}

// Without a device nothing plays; with one, what cannot be played is refused, also a file
// that played before and is gone.
TEST(SdlAudioDevice, RefusesWhatItCannotPlayAndWithoutADeviceStaysSilent) {
    testing::TempFolder dir;
    const std::string junk = dir.File("junk.wav"), sound = dir.File("sound.wav");
    std::ofstream(junk) << "not a sound";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlAudioDevice none;  // without a device everything stays silent
    EXPECT_FALSE(none.Open() || none.Open() || none.Load(0, junk) || none.Play(0, false) ||
                 none.Stop(0));
    none.Release(0);
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // as the tests run
    SdlAudioDevice device;
    ASSERT_TRUE(device.Open());
    for (const std::string& path : {std::string(), dir.File("missing.wav"), dir.path, junk})
        EXPECT_FALSE(device.Load(0, path)) << path;
    std::filesystem::copy_file(VORBLIN_SOUND_DIR "/" + std::string(kEventSounds[0].file) + ".WAV",
                               sound);
    EXPECT_TRUE(device.Load(0, sound) && device.Load(1, sound));
    std::filesystem::remove(sound);
    EXPECT_FALSE(device.Load(0, sound) || device.Load(kBkgSlot + 1, junk) || device.Load(-1, junk));
    device.Release(1);  // and calls without a buffer
    EXPECT_FALSE(device.Play(1, false) || device.SetVolume(1, -100) || device.Stop(1));
}

// The highest sample of a shipped sound, as a fraction of full scale.
double Peak(std::string_view file) {
    SDL_AudioSpec format;
    Uint8* samples = nullptr;
    Uint32 bytes = 0;
    const std::string path = VORBLIN_SOUND_DIR "/" + std::string(file) + ".WAV";
    if (SDL_LoadWAV(path.c_str(), &format, &samples, &bytes) == nullptr ||
        format.format != AUDIO_S16) {
        ADD_FAILURE() << file << " is no 16-bit sound: " << SDL_GetError();
        return 1;
    }
    int peak = 0;
    for (Uint32 i = 0; i + 1 < bytes; i += 2) {
        int16_t sample = 0;
        std::memcpy(&sample, samples + i, 2);
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    SDL_FreeWAV(samples);
    return peak / 32768.0;
}

// Every shipped sound is made at its row's peak. What can sound at once is the music and at
// most one sound of each kind (a channel cuts its own sound off, and the sounds of one kind
// are one key's or one event's alternatives); the loudest of all such sets, the loudest of
// each kind with the music, stays below full scale at full volume however their peaks meet.
TEST(ShippedSounds, AtTheirPeaksAndTheLoudestThatSoundAtOnceBelowFullScale) {
    std::map<std::string_view, double> loudest;  // by kind
    std::vector<SoundRow> rows(kEventSounds.begin(), kEventSounds.end());
    rows.push_back(kMusicSound);
    for (const SoundRow& row : rows) {
        const double peak = Peak(row.file);
        EXPECT_NEAR(peak, row.peak, 0.002) << row.file;
        loudest[row.kind] = std::max(loudest[row.kind], peak);
    }
    double sum = 0;
    std::string sounds;
    for (const auto& [kind, peak] : loudest) {
        sum += peak;
        sounds += " " + std::string(kind) + " " + std::to_string(peak);
    }
    EXPECT_LT(sum, 1.0) << "of full scale:" << sounds;
}

}  // namespace
}  // namespace vorblin
