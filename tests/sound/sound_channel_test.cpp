#include <gtest/gtest.h>

#include <optional>

#include "sound/sound_system.h"
#include "support/fake_audio.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::FakeAudioDevice;

// The calls since the last look, as one line.
std::string Calls(FakeAudioDevice& device) {
    std::string line;
    for (const std::string& call : device.Take())
        line += (line.empty() ? "" : ", ") + call;
    return line;
}

TEST(SoundChannel, PlaysOfTheRotationChannel) {
    struct Case {
        bool master = true, enabled = true;
        FakeAudioDevice::Works works{};
        int16_t volume = 0;
        std::string path = "/s/3.wav";
        int plays = 1;
        std::string calls;
    };
    const std::string play = "open, load 3 /s/3.wav, volume 3 0, play 3 once";
    const Case cases[] = {
        {.calls = play},
        {.master = false, .calls = ""},
        {.enabled = false, .calls = ""},
        {.works = {.open = false}, .plays = 2, .calls = "open, release 3, open, release 3"},
        // A failed stop releases the sound and ends that play; the next one starts afresh.
        {.works = {.stop = false}, .plays = 3, .calls = play + ", stop 3, release 3, " + play},
        {.works = {.volume = false}, .calls = play},  // the file's own loudness
        {.volume = 1, .calls = play},
        {.volume = -10001, .calls = "open, load 3 /s/3.wav, volume 3 -10000, play 3 once"},
        {.path = "/s/gone.wav", .calls = "open, load 3 /s/gone.wav"},
        {.plays = 2, .calls = play + ", stop 3, release 3, " + play},  // cuts the previous sound
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.calls);
        FakeAudioDevice device;
        device.works = c.works;
        device.missing = "/s/gone.wav";
        SoundSystem sound(device);
        sound.CreateChannels();
        sound.EnableSoundControl = c.master;
        DMCtrl& rotate = *sound.Get(Channel::mRotate1);
        rotate.DMCtrlEnabled(c.enabled);
        rotate.DMCtrlVolume(c.volume);
        rotate.DMCtrlPath(c.path);
        for (int i = 0; i < c.plays; ++i)
            sound.Play(Channel::mRotate1);
        EXPECT_EQ(Calls(device), c.calls);
    }
}

TEST(SoundChannel, EventNumbers) {
    testing::RecordingSound board;
    for (uint8_t code = 0; code <= 9; ++code)
        Play_Event_Sound(board, code);
    EXPECT_EQ(board.played,
              (std::vector<Channel>{Channel::mVorblin1, Channel::mDown1, Channel::mLeft1,
                                    Channel::mRight1, Channel::mRotate1, Channel::mDrop1,
                                    Channel::mDelLin1}));
}

TEST(BackgroundMusic, StartStopResumeAndFailures) {
    FakeAudioDevice device;
    device.missing = "/m/gone.wav";
    BkgMusic bkg(device);
    bkg.PlayBkgMusic("/m/a.wav");
    bkg.StopBkgMusic();
    bkg.SetBkgVolume(-300);
    bkg.ResumeBkgMusic();
    EXPECT_EQ(Calls(device),
              "open, load 10 /m/a.wav, play 10 loop, stop 10, volume 10 -300, play 10 loop");
    // A tune that cannot start leaves nothing to set, stop or resume; the volume is kept.
    bkg.PlayBkgMusic("/m/gone.wav");
    bkg.SetBkgVolume(-700);
    bkg.SetBkgPan(100);
    bkg.StopBkgMusic();
    bkg.ResumeBkgMusic();
    EXPECT_EQ(testing::Seen(bkg.BkgPlaying, bkg.BkgPath, bkg.BkgVolume), "0|/m/gone.wav|-700|");
    bkg.PlayBkgMusic("");  // no tune chosen: the device is not even opened (slow without one)
    bkg.PlayBkgMusic("/m/a.wav");
    EXPECT_EQ(Calls(device),
              "stop 10, release 10, open, load 10 /m/gone.wav, release 10, release 10, open, load "
              "10 /m/a.wav, play 10 loop");
}

// Sweeps one after the other on one tune; each start turns the sweep to the right again.
TEST(BackgroundMusic, PanSweep) {
    struct Case {
        int16_t speed;
        std::optional<std::pair<int32_t, int16_t>> from;  // pan and direction; else a start
        std::string pans;
    };
    const Case cases[] = {
        {500, std::nullopt, "-5000 -4500 -4000 "},
        {500, {{-5000, -1}}, "-5000 -5500 -5000 -4500 "},  // one step past the mark, then back
        {500, {{5000, 1}}, "5000 5500 5000 4500 "},
        {300, std::nullopt, "-5000 -4700 -4400 "},
        {500, {{5001, 1}}, "5001 4501 "},
        {500, {{-5001, -1}}, "-5001 -4501 "},
        {0, std::nullopt, "0 0 "},
        // A hand-edited speed far beyond the range keeps the pans handed over within it.
        {32767, std::nullopt, "-5000 10000 -5000 -10000 -5000 "},
    };
    FakeAudioDevice device;
    SoundSystem sound(device);
    sound.bkg.PlayBkgMusic("/m/a.wav");
    device.Take();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pans);
        sound.SpeedChange = c.speed;
        sound.StartPanSweep();
        if (c.from)
            std::tie(sound.ForLoop, sound.ForLoopDir) = *c.from;
        std::string pans;
        for (size_t steps = std::count(c.pans.begin(), c.pans.end(), ' '); steps > 0; --steps)
            sound.PanSweepStep();
        for (const std::string& call : device.Take())
            pans += call.substr(7) + " ";
        EXPECT_EQ(pans, c.pans);
    }
}

}  // namespace
}  // namespace vorblin
