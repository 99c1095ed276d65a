// The settings window, its file chooser and the sound output on SDL_mixer.
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
            DMCtrl& ch = *sound.Get(static_cast<Channel>(c));
            ch.DMCtrlPath("/snd/ch" + std::to_string(c) + ".wav");
            ch.DMCtrlVolume(static_cast<int16_t>(-100 * (c + 1)));
            ch.DMCtrlEnabled(c % 2 == 0);
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
    EXPECT_EQ(SEEN(Text("lblFirstVar"), Text("lblSecondVar"), Text("lblFile")),
              "Text(\"lblFirstVar\")=ch4.wav\nText(\"lblSecondVar\")=ch7.wav\n"
              "Text(\"lblFile\")=tune.wav\n");
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
    EXPECT_EQ(SEEN(Ch(Channel::mDrop1).DMCtrlEnabled(), Ch(Channel::mDrop2).DMCtrlEnabled(),
                   Ch(Channel::mDrop2).DMCtrlVolume(), Ch(Channel::mDrop1).DMCtrlVolume(),
                   Ch(Channel::mDown1).DMCtrlVolume(), Text("lblSecondVar"),
                   Ch(Channel::mDrop2).DMCtrlPath(), Ch(Channel::mDrop1).DMCtrlPath()),
              "Ch(Channel::mDrop1).DMCtrlEnabled()=false\n"
              "Ch(Channel::mDrop2).DMCtrlEnabled()=true\nCh(Channel::mDrop2).DMCtrlVolume()=0\n"
              "Ch(Channel::mDrop1).DMCtrlVolume()=-501\nCh(Channel::mDown1).DMCtrlVolume()=-100\n"
              "Text(\"lblSecondVar\")=A.WAV\nCh(Channel::mDrop2).DMCtrlPath()=" +
                  folder.File("A.WAV") +
                  "\n"
                  "Ch(Channel::mDrop1).DMCtrlPath()=/snd/ch4.wav\n");

    // The music (nothing was played so far): a pick starts the tune even while it is switched off,
    // at its volume; switched on and off; its volume; the sweep speed typed (held at the
    // maximum), which the slider follows.
    WhenModal([](QWidget* chooser) { Pick(chooser, "b.wav"); });
    Click(window.get(), "cmdOpen");
    Click(window.get(), "chkEnable");
    Click(window.get(), "chkEnable");
    QTest::keyClick(W<QSlider>("sldVolBackgrnd"), Qt::Key_PageUp);
    W<QLineEdit>("txtChange")->setText("1000");
    EXPECT_EQ(device.Take(),
              (std::vector<std::string>{
                  "stop 10", "release 10", "open", "load 10 " + folder.File("b.wav"),
                  "play 10 loop", "volume 10 -700", "play 10 loop", "stop 10", "volume 10 0"}));
    EXPECT_EQ(
        SEEN(sound.PathToBkgMusic, Text("lblFile"), sound.VolumeBkgMusic, sound.SpeedChange,
             W<QSlider>("sldChange")->value(), W<QLineEdit>("txtChange")->text().toStdString()),
        "sound.PathToBkgMusic=" + folder.File("b.wav") +
            "\n"
            "Text(\"lblFile\")=b.wav\nsound.VolumeBkgMusic=0\nsound.SpeedChange=500\n"
            "W<QSlider>(\"sldChange\")->value()=500\n"
            "W<QLineEdit>(\"txtChange\")->text().toStdString()=500\n");
}

// Opening shows and changes nothing, also with speeds a hand-edited file holds; Enter in the
// speed box neither opens a chooser nor closes the window.
TEST_F(FrmSettingsTest, OpeningChangesNothingAndEnterInTheSpeedBoxOpensNothing) {
    for (const int16_t speed : {700, -30}) {
        sound.SpeedChange = speed;
        sound.ForLoop = -1234;
        FrmSettings shown(sound, nullptr);
        EXPECT_EQ(sound.SpeedChange, speed);
        EXPECT_EQ(sound.ForLoop, -1234) << speed;
        EXPECT_EQ(shown.findChild<QLineEdit*>("txtChange")->text().toStdString(),
                  std::to_string(speed));
    }
    QStringList opened;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr) {
            opened << modal->objectName();
            modal->close();
        }
    });
    poll.start(1);
    QTest::keyClick(W<QLineEdit>("txtChange"), Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_TRUE(opened.isEmpty() && window->isVisible()) << opened.join(",").toStdString();
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
    EXPECT_FALSE(device.Load(11, junk) || device.Load(-1, junk) || device.Play(0, false) ||
                 device.SetVolume(0, -100) || device.Stop(0));
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
    const long left = std::lround(sum[0] / 1000), right = std::lround(sum[1] / 1000);
    return SEEN(left, right);
}

TEST_F(SdlAudioDeviceTest, VolumePanAndStopReachTheOutput) {
    Mix_SetPostMix(&KeepMixed, nullptr);
    ASSERT_TRUE(device.Load(kBkgSlot, tune) && device.Play(kBkgSlot, true));
    EXPECT_EQ(Levels(), "left=16\nright=16\n");
    ASSERT_TRUE(device.SetVolume(kBkgSlot, -2500));  // 25 dB down: 900
    EXPECT_EQ(Levels(), "left=1\nright=1\n");
    ASSERT_TRUE(device.SetVolume(kBkgSlot, 0) && device.SetPan(kBkgSlot, 10000));  // full right
    EXPECT_EQ(Levels(), "left=0\nright=16\n");
    ASSERT_TRUE(device.Stop(kBkgSlot));
    EXPECT_EQ(Levels(), "left=0\nright=0\n");
    // A new buffer starts at full volume and centre pan.
    ASSERT_TRUE(device.Load(kBkgSlot, tune) && device.Play(kBkgSlot, true));
    EXPECT_EQ(Levels(), "left=16\nright=16\n");
    Mix_SetPostMix(nullptr, nullptr);
}

// The loudest shipped sounds that can sound at once (the music, a move, a drop, a landing, a
// line removal and the Vorblin figure), started together at full volume, stay below full
// scale in the mixed output, as SDL's disk driver writes it.
TEST(ShippedSounds, TheLoudestThatSoundAtOnceStayBelowFullScale) {
    testing::TempFolder dir;
    const std::string raw = dir.File("mixed.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    const auto shipped = [](const char* name) {
        std::string path = VORBLIN_SOUND_DIR;
        return path.append("/").append(name).append(".WAV");
    };
    std::vector<int> peaks;
    for (const auto& variants : {std::vector<const char*>{"left1", "drop1", "down1"},
                                 std::vector<const char*>{"inverse1", "drop2", "down2"}}) {
        {
            SdlAudioDevice device;
            ASSERT_TRUE(device.Open());
            std::vector<const char*> names = {"dellin1", "vorblin1"};
            names.insert(names.end(), variants.begin(), variants.end());
            for (size_t slot = 0; slot < names.size(); ++slot)
                ASSERT_TRUE(device.Load(static_cast<int>(slot), shipped(names[slot])) &&
                            device.Play(static_cast<int>(slot), false));
            ASSERT_TRUE(device.Load(kBkgSlot, shipped("bkgmusic")) && device.Play(kBkgSlot, true));
            SDL_Delay(700);
        }  // closed: the file holds all of it
        const std::string bytes = ReadFileBytes(raw).bytes;
        int peak = 0;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            int16_t sample = 0;
            std::memcpy(&sample, bytes.data() + i, 2);
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        peaks.push_back(peak);
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // as the tests run
    // Heard, and below full scale (clipped samples sit at 32767).
    for (const int peak : peaks)
        EXPECT_TRUE(peak > 8000 && peak < 32000) << peak;
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
