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
using testing::Show;

TEST(SoundChannel, PlaysOfTheRotationChannel) {
    struct Case {
        bool master = true, enabled = true, opens = true, loads = true, stops = true;
        int16_t volume = 1;  // above full loudness: played at full
        int plays = 1;
        std::string calls;
    };
    const std::string play = "open, load mRotate1 /s/3.wav, volume mRotate1 0, play mRotate1 once";
    const Case cases[] = {
        {.plays = 2, .calls = play + ", stop mRotate1, release mRotate1, " + play},  // cut off
        {.master = false, .calls = ""},
        {.enabled = false, .calls = ""},
        {.opens = false, .plays = 2, .calls = "open, release mRotate1, open, release mRotate1"},
        {.loads = false, .calls = "open, load mRotate1 /s/3.wav"},
        // A failed stop releases the sound and ends that play; the next one starts afresh.
        {.stops = false, .plays = 3, .calls = play + ", stop mRotate1, release mRotate1, " + play},
        {.volume = -10001,
         .calls = "open, load mRotate1 /s/3.wav, volume mRotate1 -10000, "
                  "play mRotate1 once"},
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
        EXPECT_EQ(device.Take(), c.calls);
    }
}

// The tune started, stopped and resumed; then swept from side to side, each start turning the
// sweep to the right again, the turn tested before the step; then a tune that cannot start.
TEST(BackgroundMusic, PlayPanSweepAndFailures) {
    FakeAudioDevice device;
    SoundSystem sound(device);
    BkgMusic& bkg = sound.bkg;
    bkg.PlayBkgMusic("/m/a.wav");
    bkg.StopBkgMusic();
    bkg.SetBkgVolume(-300);
    bkg.ResumeBkgMusic();
    EXPECT_EQ(device.Take(),
              "open, load bkg /m/a.wav, play bkg loop, stop bkg, volume bkg -300, play bkg loop");
    struct Case {
        int16_t speed;
        std::optional<std::pair<int32_t, int16_t>> from;  // pan and direction; else a start
        std::vector<int32_t> pans;
    };
    const Case cases[] = {
        {500, {{-5000, -1}}, {-5000, -5500, -5000}},  // one step past the mark, then back
        {500, {{5001, 1}}, {5001, 4501}},
        {500, std::nullopt, {-5000, -4500}},
        {0, std::nullopt, {0, 0}},
        // A hand-edited speed far beyond the range keeps the pans handed over within it.
        {32767, std::nullopt, {-5000, 10000, -5000, -10000}},
    };
    for (const Case& c : cases) {
        sound.SpeedChange = c.speed;
        sound.StartPanSweep();
        if (c.from)
            std::tie(sound.ForLoop, sound.ForLoopDir) = *c.from;
        std::string pans;
        for (const int32_t pan : c.pans) {
            sound.PanSweepStep();
            pans += ", pan bkg " + std::to_string(pan);
        }
        EXPECT_EQ(", " + device.Take(), pans) << c.speed;
    }
    // A tune that cannot start leaves nothing to set, stop or resume; the volume is kept.
    device.loads = false;
    bkg.PlayBkgMusic("/m/gone.wav");
    bkg.SetBkgVolume(-700);
    bkg.SetBkgPan(100);
    bkg.StopBkgMusic();
    bkg.ResumeBkgMusic();
    bkg.PlayBkgMusic("");  // no tune chosen: the device is not even opened (slow without one)
    EXPECT_EQ(
        Show("calls", device.Take(), "playing", bkg.BkgPlaying, "volume", bkg.BkgVolume),
        Show("calls", "stop bkg, release bkg, open, load bkg /m/gone.wav, release bkg, release bkg",
             "playing", false, "volume", -700));
}

}  // namespace
}  // namespace vorblin
