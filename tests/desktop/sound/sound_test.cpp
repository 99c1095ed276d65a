// The settings window, its file chooser, the sound output on SDL_mixer and the shipped sounds.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <vector>

#include "core/base/text_file.h"
#include "desktop/sound/frm_open_window.h"
#include "desktop/sound/frm_settings_window.h"
#include "desktop/sound/sdl_audio_device.h"
#include "desktop/window_tests.h"
#include "support/fake_audio.h"

namespace vorblin {
namespace {

using testing::Click;
using testing::Show;
using testing::WhenModal;

// Clicks the named file in the open chooser.
void Pick(QWidget* chooser, const QString& name) {
    auto* files = chooser->findChild<QListWidget*>("filOpen");
    emit files->itemClicked(files->findItems(name, Qt::MatchExactly).value(0));
}

class FrmSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Channel n (in creation order) plays chN.wav at -100(n+1), switched on when n is even.
        sound.CreateChannels();
        for (int c = 0; c < kChannelCount; ++c) {
            Ch(Channel(c)).DMCtrlPath("/snd/" + File(Channel(c)));
            Ch(Channel(c)).DMCtrlVolume(static_cast<int16_t>(Volume(Channel(c))));
            Ch(Channel(c)).DMCtrlEnabled(c % 2 == 0);
        }
        sound.PathToBkgMusic = "/music/tune.wav";
        sound.bkg.PlayBkgMusic(sound.PathToBkgMusic);
        sound.bkg.SetBkgVolume(-700);
        std::filesystem::create_directory(folder.File("inner"));
        for (const char* name : {"b.wav", "A.WAV", "notes.txt", "inner/deep.wav"})
            ASSERT_TRUE(WriteFileAtomically(folder.File(name), "x"));
        device.Take();
        window = std::make_unique<FrmSettings>(sound, nullptr);
        window->show();
    }
    template <typename T>
    T* W(const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    DMCtrl& Ch(Channel c) { return *sound.Get(c); }
    std::string Text(const char* label) { return W<QLabel>(label)->text().toStdString(); }
    // A channel's file as its label shows it, and its volume, as set up.
    std::string File(Channel c) { return "ch" + std::to_string(int(c)) + ".wav"; }
    int Volume(Channel c) { return -100 * (int(c) + 1); }

    testing::TempFolder folder;
    testing::FakeAudioDevice device;
    SoundSystem sound{device};
    std::unique_ptr<FrmSettings> window;
};

// An event's variants and the music, each set by its own controls or through the chooser, which
// opens where the file is, lists only the sounds and, once used, opens again where it was.
TEST_F(FrmSettingsTest, EachControlAndEachPickChangesItsOwnSetting) {
    W<QComboBox>("cmbListEvents")->setCurrentText("Инверсия");  // one variant only
    EXPECT_FALSE(W<QWidget>("fraSecondVar")->isVisible());
    W<QComboBox>("cmbListEvents")->setCurrentText("Бросить");
    EXPECT_EQ(
        Show("first", Text("lblFirstVar"), "second", Text("lblSecondVar"), "music",
             Text("lblFile")),
        Show("first", File(Channel::mDrop1), "second", File(Channel::mDrop2), "music", "tune.wav"));
    Click(window.get(), "chkEnFirstVar");   // ticked: off
    Click(window.get(), "chkEnSecondVar");  // cleared: on
    QTest::keyClick(W<QSlider>("sldVolBut2"), Qt::Key_PageUp);
    QTest::keyClick(W<QSlider>("sldVolBut1"), Qt::Key_Left);
    Ch(Channel::mDrop2).DMCtrlPath(folder.File("inner/deep.wav"));
    QStringList seen;
    WhenModal([&](QWidget* chooser) {
        seen << static_cast<FrmOpen*>(chooser)->Folder();
        auto* dirs = chooser->findChild<QListWidget*>("dirOpen");
        const QString up = QString::fromStdString(std::filesystem::path(folder.path).filename());
        emit dirs->itemActivated(dirs->findItems(up, Qt::MatchEndsWith).value(0));
        auto* files = chooser->findChild<QListWidget*>("filOpen");
        for (int i = 0; i < files->count(); ++i)
            seen << files->item(i)->text();
        Pick(chooser, "A.WAV");
    });
    Click(window.get(), "cmdOpenSecond");
    EXPECT_EQ(seen, (QStringList{QString::fromStdString(folder.File("inner")), "A.WAV", "b.wav"}));
    const DMCtrl &drop1 = Ch(Channel::mDrop1), &drop2 = Ch(Channel::mDrop2);
    EXPECT_EQ(
        Show("drop1 on", drop1.DMCtrlEnabled(), "drop1 volume", drop1.DMCtrlVolume(), "drop1 path",
             drop1.DMCtrlPath(), "drop2 on", drop2.DMCtrlEnabled(), "drop2 volume",
             drop2.DMCtrlVolume(), "drop2 path", drop2.DMCtrlPath(), "drop2 label",
             Text("lblSecondVar"), "down1 volume", Ch(Channel::mDown1).DMCtrlVolume()),
        Show("drop1 on", false, "drop1 volume", Volume(Channel::mDrop1) - 1, "drop1 path",
             "/snd/" + File(Channel::mDrop1), "drop2 on", true, "drop2 volume", 0, "drop2 path",
             folder.File("A.WAV"), "drop2 label", "A.WAV", "down1 volume",
             Volume(Channel::mDown1)));

    // The music: a pick starts the tune even while it is switched off, at its volume; switched
    // on and off; its volume; the sweep speed typed (held at the maximum), which the slider
    // follows.
    WhenModal([](QWidget* chooser) { Pick(chooser, "b.wav"); });
    Click(window.get(), "cmdOpen");
    Click(window.get(), "chkEnable");
    Click(window.get(), "chkEnable");
    QTest::keyClick(W<QSlider>("sldVolBackgrnd"), Qt::Key_PageUp);
    W<QLineEdit>("txtChange")->setText("1000");
    EXPECT_EQ(device.Take(), "stop bkg, release bkg, open, load bkg " + folder.File("b.wav") +
                                 ", play bkg loop, volume bkg -700, play bkg loop, stop bkg, "
                                 "volume bkg 0");
    EXPECT_EQ(
        Show("path", sound.PathToBkgMusic, "label", Text("lblFile"), "volume", sound.VolumeBkgMusic,
             "speed", sound.SpeedChange, "slider", W<QSlider>("sldChange")->value(), "text",
             W<QLineEdit>("txtChange")->text().toStdString()),
        Show("path", folder.File("b.wav"), "label", "b.wav", "volume", 0, "speed", 500, "slider",
             500, "text", "500"));
}

// Opening shows and changes nothing, also with speeds a hand-edited file holds; Enter in the
// speed box neither opens a chooser nor closes the window.
TEST_F(FrmSettingsTest, OpeningChangesNothingAndEnterInTheSpeedBoxOpensNothing) {
    for (const int16_t speed : {700, -30}) {
        sound.SpeedChange = speed;
        sound.ForLoop = -1234;
        FrmSettings shown(sound, nullptr);
        EXPECT_EQ(Show("speed", sound.SpeedChange, "pan", sound.ForLoop, "text",
                       shown.findChild<QLineEdit*>("txtChange")->text().toStdString()),
                  Show("speed", speed, "pan", -1234, "text", std::to_string(speed)));
    }
    QString opened;  // a modal window that the key opened, closed at once
    WhenModal([&](QWidget* modal) {
        if (modal != nullptr) {
            opened = modal->objectName();
            modal->close();
        }
    });
    QTest::keyClick(W<QLineEdit>("txtChange"), Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_EQ(Show("opened", opened.toStdString(), "shown", window->isVisible()),
              Show("opened", "", "shown", true));
}

// Writes a 16-bit mono PCM WAV file at 44100 Hz of `frames` samples all at `level`.
void WriteWav(const std::string& path, uint32_t frames, int16_t level) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const auto put = [&out](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.put(static_cast<char>(value >> (8 * i)));
    };
    out << "RIFF";
    put(36 + 2 * frames, 4);
    // 16 bytes of format: PCM, one channel, the rate, bytes a second, bytes a frame, bits.
    out.write("WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xAC\0\0\x88\x58\x01\0\x02\0\x10\0data", 32);
    put(2 * frames, 4);
    for (uint32_t i = 0; i < frames; ++i)
        put(static_cast<uint16_t>(level), 2);
}

// Each test opens the device afresh on the dummy driver (set by the test run).
class SdlAudioDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(device.Open());
        WriteWav(tune, 44100, 16000);
    }
    testing::TempFolder dir;
    std::string tune = dir.File("tune.wav");
    SdlAudioDevice device;
};

TEST_F(SdlAudioDeviceTest, DecodesOncePerFileUntilItChangesAndRefusesWhatItCannotPlay) {
    const std::string junk = dir.File("junk.wav");
    std::ofstream(junk) << "not a sound";
    // The unusable file twice: it is not decoded at every play.
    for (const std::string& path : {std::string(), dir.File("missing.wav"), dir.path, junk, junk})
        EXPECT_FALSE(device.Load(0, path)) << path;
    EXPECT_EQ(device.Decodes(), 1);
    EXPECT_TRUE(device.Load(0, tune) && device.Load(1, tune) && device.Load(0, tune));
    EXPECT_EQ(device.Decodes(), 2);
    WriteWav(tune, 100, 5);
    EXPECT_TRUE(device.Load(0, tune));
    EXPECT_EQ(device.Decodes(), 3);
    std::remove(tune.c_str());
    EXPECT_FALSE(device.Load(0, tune));
    // Slots out of range and calls without a buffer are refused.
    EXPECT_FALSE(device.Load(kBkgSlot + 1, junk) || device.Load(-1, junk) ||
                 device.Play(0, false) || device.SetVolume(0, -100) || device.Stop(0));
    device.Release(1);
    EXPECT_FALSE(device.Play(1, false));
}

// The last block of the mixed output (stereo S16, as the device opens the mixer).
std::mutex mixedLock;
std::vector<int16_t> mixed;
void KeepMixed(void*, Uint8* stream, int len) {
    const std::lock_guard<std::mutex> lock(mixedLock);
    mixed.assign(reinterpret_cast<int16_t*>(stream), reinterpret_cast<int16_t*>(stream) + len / 2);
}

// The mean level of each side once the output has settled, in thousands.
std::string Levels() {
    SDL_Delay(300);
    const std::lock_guard<std::mutex> lock(mixedLock);
    double sum[2] = {0, 0};
    for (size_t i = 0; i < mixed.size(); ++i)
        sum[i % 2] += std::abs(mixed[i]) * 2.0 / static_cast<double>(mixed.size());
    return Show("left", std::lround(sum[0] / 1000), "right", std::lround(sum[1] / 1000));
}

TEST_F(SdlAudioDeviceTest, VolumePanAndStopReachTheOutput) {
    Mix_SetPostMix(&KeepMixed, nullptr);
    ASSERT_TRUE(device.Load(kBkgSlot, tune) && device.Play(kBkgSlot, true));
    EXPECT_EQ(Levels(), Show("left", 16, "right", 16));
    ASSERT_TRUE(device.SetVolume(kBkgSlot, -2500));  // 25 dB down: 900
    EXPECT_EQ(Levels(), Show("left", 1, "right", 1));
    ASSERT_TRUE(device.SetVolume(kBkgSlot, 0) && device.SetPan(kBkgSlot, 10000));  // full right
    EXPECT_EQ(Levels(), Show("left", 0, "right", 16));
    ASSERT_TRUE(device.Stop(kBkgSlot));
    EXPECT_EQ(Levels(), Show("left", 0, "right", 0));
    // A new buffer starts at full volume and centre pan.
    ASSERT_TRUE(device.Load(kBkgSlot, tune) && device.Play(kBkgSlot, true));
    EXPECT_EQ(Levels(), Show("left", 16, "right", 16));
    Mix_SetPostMix(nullptr, nullptr);
}

// The highest sample of a shipped sound, as a fraction of full scale.
double Peak(std::string_view file) {
    const std::string path = VORBLIN_SOUND_DIR "/" + std::string(file) + ".WAV";
    SDL_AudioSpec format;
    Uint8* samples = nullptr;
    Uint32 bytes = 0;
    if (SDL_LoadWAV(path.c_str(), &format, &samples, &bytes) == nullptr ||
        format.format != AUDIO_S16) {
        ADD_FAILURE() << path << " is no 16-bit sound: " << SDL_GetError();
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

TEST(SdlAudio, WithoutADeviceEverythingStaysSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlAudioDevice device;
    EXPECT_FALSE(device.Open() || device.Open() || device.Load(0, "/x.wav") ||
                 device.Play(0, false) || device.Stop(0));
    device.Release(0);
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // as the tests run
}

}  // namespace
}  // namespace vorblin
