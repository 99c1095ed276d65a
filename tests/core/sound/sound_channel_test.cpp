// The sound channels and the background music on an audio device that records its calls.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "core/sound/sound_system.h"
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
        bool master = true, enabled = true, opens = true, loads = true, stops = true;
        int16_t volume = 1;  // above full loudness: played at full
        int plays = 1;
        std::string calls;
    };
    const std::string play = "open, load 3 /s/3.wav, volume 3 0, play 3 once";
    const Case cases[] = {
        {.plays = 2, .calls = play + ", stop 3, release 3, " + play},  // cuts the previous sound
        {.master = false, .calls = ""},
        {.enabled = false, .calls = ""},
        {.opens = false, .plays = 2, .calls = "open, release 3, open, release 3"},
        {.loads = false, .calls = "open, load 3 /s/3.wav"},
        // A failed stop releases the sound and ends that play; the next one starts afresh.
        {.stops = false, .plays = 3, .calls = play + ", stop 3, release 3, " + play},
        {.volume = -10001, .calls = "open, load 3 /s/3.wav, volume 3 -10000, play 3 once"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.calls);
        FakeAudioDevice device;
        std::tie(device.opens, device.loads, device.stops) = std::tie(c.opens, c.loads, c.stops);
        SoundSystem sound(device);
        sound.CreateChannels();
        sound.EnableSoundControl = c.master;
        DMCtrl& rotate = *sound.Get(Channel::mRotate1);
        rotate.DMCtrlEnabled(c.enabled);
        rotate.DMCtrlVolume(c.volume);
        rotate.DMCtrlPath("/s/3.wav");
        for (int i = 0; i < c.plays; ++i)
            sound.Play(Channel::mRotate1);
        EXPECT_EQ(Calls(device), c.calls);
    }
}

// The tune started, stopped and resumed; then swept from side to side, one sweep after the
// other, each start turning the sweep to the right again; then a tune that cannot start.
TEST(BackgroundMusic, PlayPanSweepAndFailures) {
    FakeAudioDevice device;
    SoundSystem sound(device);
    BkgMusic& bkg = sound.bkg;
    bkg.PlayBkgMusic("/m/a.wav");
    bkg.StopBkgMusic();
    bkg.SetBkgVolume(-300);
    bkg.ResumeBkgMusic();
    EXPECT_EQ(Calls(device),
              "open, load 10 /m/a.wav, play 10 loop, stop 10, volume 10 -300, play 10 loop");

    struct Case {
        int16_t speed;
        std::optional<std::pair<int32_t, int16_t>> from;  // pan and direction; else a start
        std::string pans;
    };
    const Case cases[] = {
        {500, std::nullopt, "-5000 -4500 -4000 "},
        {500, {{-5000, -1}}, "-5000 -5500 -5000 -4500 "},  // one step past the mark, then back
        {500, {{5000, 1}}, "5000 5500 5000 4500 "},
        {500, {{5001, 1}}, "5001 4501 "},
        {500, {{-5001, -1}}, "-5001 -4501 "},
        {0, std::nullopt, "0 0 "},
        // A hand-edited speed far beyond the range keeps the pans handed over within it.
        {32767, std::nullopt, "-5000 10000 -5000 -10000 -5000 "},
    };
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

    // A tune that cannot start leaves nothing to set, stop or resume; the volume is kept.
    device.loads = false;
    bkg.PlayBkgMusic("/m/gone.wav");
    bkg.SetBkgVolume(-700);
    bkg.SetBkgPan(100);
    bkg.StopBkgMusic();
    bkg.ResumeBkgMusic();
    EXPECT_EQ(SEEN(bkg.BkgPlaying, bkg.BkgPath, bkg.BkgVolume),
              "bkg.BkgPlaying=false\nbkg.BkgPath=/m/gone.wav\nbkg.BkgVolume=-700\n");
    bkg.PlayBkgMusic("");  // no tune chosen: the device is not even opened (slow without one)
    EXPECT_EQ(Calls(device),
              "stop 10, release 10, open, load 10 /m/gone.wav, release 10, release 10");
}

}  // namespace
}  // namespace vorblin
