#include <gtest/gtest.h>

#include <algorithm>

#include "sound/sound_system.h"
#include "support/fake_audio.h"

namespace vorblin {
namespace {

using testing::FakeAudioDevice;
using Calls = std::vector<std::string>;

struct Rig {
    Rig() {
        sound.CreateChannels();
        sound.EnableSoundControl = true;
        for (int c = 0; c < kChannelCount; ++c) {
            DMCtrl& channel = *sound.Get(static_cast<Channel>(c));
            channel.DMCtrlEnabled(true);
            channel.DMCtrlPath("/s/" + std::to_string(c) + ".wav");
        }
    }
    DMCtrl& Rotate() { return *sound.Get(Channel::mRotate1); }
    FakeAudioDevice device;
    SoundSystem sound{device};
};

TEST(SoundChannel, PlaysOnlyWithBothSwitchesOn) {
    struct Case {
        bool master, enabled;
        Calls calls;
    };
    const Case cases[] = {
        {true, true, {"open", "load 3 /s/3.wav", "volume 3 0", "play 3 once"}},
        {false, true, {}},
        {true, false, {}},
        {false, false, {}},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.sound.EnableSoundControl = c.master;
        rig.Rotate().DMCtrlEnabled(c.enabled);
        rig.sound.Play(Channel::mRotate1);
        EXPECT_EQ(rig.device.calls, c.calls) << c.master << c.enabled;
    }
}

TEST(SoundChannel, NewPlayCutsThePreviousSoundAndPicksUpChanges) {
    Rig rig;
    rig.sound.Play(Channel::mRotate1);
    rig.device.Take();
    rig.Rotate().DMCtrlPath("/s/other.wav");
    rig.Rotate().DMCtrlVolume(-2500);
    rig.sound.Play(Channel::mRotate1);
    EXPECT_EQ(rig.device.Take(), (Calls{"stop 3", "release 3", "open", "load 3 /s/other.wav",
                                        "volume 3 -2500", "play 3 once"}));
    // Other channels are not touched: they sound together.
    rig.sound.Play(Channel::mLeft1);
    EXPECT_EQ(rig.device.Take(), (Calls{"open", "load 1 /s/1.wav", "volume 1 0", "play 1 once"}));
}

TEST(SoundChannel, FailuresStaySilentAndTheNextPlayStartsAfresh) {
    {  // empty and missing paths: a buffer is never made, so nothing is stopped later
        Rig rig;
        rig.device.missing.insert("/s/3.wav");
        rig.sound.Play(Channel::mRotate1);
        rig.Rotate().DMCtrlPath("");
        rig.sound.Play(Channel::mRotate1);
        EXPECT_EQ(rig.device.calls, (Calls{"open", "load 3 /s/3.wav", "open", "load 3 "}));
    }
    {  // no device: everything is released, the next play tries again
        Rig rig;
        rig.device.openWorks = false;
        rig.sound.Play(Channel::mRotate1);
        rig.sound.Play(Channel::mRotate1);
        EXPECT_EQ(rig.device.calls, (Calls{"open", "release 3", "open", "release 3"}));
    }
    {  // a stop that fails releases the channel and ends this play
        Rig rig;
        rig.sound.Play(Channel::mRotate1);
        rig.device.stopWorks = false;
        rig.device.Take();
        rig.sound.Play(Channel::mRotate1);
        EXPECT_EQ(rig.device.Take(), (Calls{"stop 3", "release 3"}));
        rig.device.stopWorks = true;
        rig.sound.Play(Channel::mRotate1);
        EXPECT_EQ(rig.device.Take().front(), "open");
    }
    {  // a refused volume plays the file at its own loudness
        Rig rig;
        rig.device.volumeWorks = false;
        rig.sound.Play(Channel::mRotate1);
        EXPECT_EQ(rig.device.calls.back(), "play 3 once");
    }
}

TEST(SoundChannel, VolumesReachTheDeviceWithinTheirRange) {
    const std::pair<int16_t, std::string> cases[] = {
        {0, "volume 3 0"},           {-2500, "volume 3 -2500"},   {-10000, "volume 3 -10000"},
        {-10001, "volume 3 -10000"}, {-32768, "volume 3 -10000"}, {1, "volume 3 0"},
        {32767, "volume 3 0"},
    };
    for (const auto& [volume, call] : cases) {
        Rig rig;
        rig.Rotate().DMCtrlVolume(volume);
        rig.sound.Play(Channel::mRotate1);
        EXPECT_EQ(rig.device.calls.at(2), call);
        EXPECT_EQ(rig.Rotate().DMCtrlVolume(), volume);
    }
}

TEST(SoundChannel, EventNumbersAndChannelsBeforeTheyExist) {
    Rig rig;
    for (uint8_t code = 0; code <= 9; ++code)
        Play_Event_Sound(rig.sound, code);
    Calls loads;
    for (const std::string& call : rig.device.calls)
        if (call.rfind("load", 0) == 0)
            loads.push_back(call.substr(5, 1));
    EXPECT_EQ(loads, (Calls{"6", "0", "1", "2", "3", "4", "5"}));

    FakeAudioDevice device;
    SoundSystem early(device);
    early.EnableSoundControl = true;
    early.Play(Channel::mDown1);
    EXPECT_TRUE(device.calls.empty());
    early.CreateChannels();
    DMCtrl* first = early.Get(Channel::mDown1);
    early.CreateChannels();
    EXPECT_EQ(early.Get(Channel::mDown1), first);
    EXPECT_EQ(first->DMCtrlPath(), "");
    EXPECT_FALSE(first->DMCtrlEnabled());
    EXPECT_EQ(first->DMCtrlVolume(), 0);
}

TEST(BackgroundMusic, StartStopResumeAndTheirFailures) {
    FakeAudioDevice device;
    BkgMusic bkg(device);
    bkg.PlayBkgMusic("/m/a.wav");
    EXPECT_TRUE(bkg.BkgPlaying);
    bkg.StopBkgMusic();
    bkg.SetBkgVolume(-300);
    bkg.SetBkgPan(12000);
    bkg.ResumeBkgMusic();
    EXPECT_TRUE(bkg.BkgPlaying);
    EXPECT_EQ(device.Take(), (Calls{"open", "load 10 /m/a.wav", "play 10 loop", "stop 10",
                                    "volume 10 -300", "pan 10 10000", "play 10 loop"}));

    device.missing.insert("/m/b.wav");
    bkg.PlayBkgMusic("/m/b.wav");
    EXPECT_FALSE(bkg.BkgPlaying);
    EXPECT_EQ(bkg.BkgPath, "/m/b.wav");
    bkg.SetBkgVolume(-700);
    bkg.SetBkgPan(100);
    bkg.StopBkgMusic();
    bkg.ResumeBkgMusic();
    EXPECT_EQ(bkg.BkgVolume, -700);
    EXPECT_EQ(device.Take(),
              (Calls{"stop 10", "release 10", "open", "load 10 /m/b.wav", "release 10"}));

    // After a failure there is no buffer to stop; a later start works again.
    bkg.PlayBkgMusic("/m/a.wav");
    EXPECT_TRUE(bkg.BkgPlaying);
    EXPECT_EQ(device.Take(), (Calls{"open", "load 10 /m/a.wav", "play 10 loop"}));
    device.playWorks = false;
    bkg.PlayBkgMusic("/m/a.wav");
    EXPECT_FALSE(bkg.BkgPlaying);
    device.playWorks = true;
    device.openWorks = false;
    device.Take();
    bkg.PlayBkgMusic("/m/a.wav");
    EXPECT_FALSE(bkg.BkgPlaying);
    EXPECT_EQ(device.Take(), (Calls{"open", "release 10"}));
}

// The pans handed to the device by n sweep steps.
std::vector<int32_t> Sweep(SoundSystem& sound, FakeAudioDevice& device, int n) {
    device.Take();
    std::vector<int32_t> pans;
    for (int i = 0; i < n; ++i)
        sound.PanSweepStep();
    for (const std::string& call : device.Take())
        pans.push_back(std::stoi(call.substr(7)));
    return pans;
}

TEST(BackgroundMusic, PanSweepOvershootsByOneStepBeforeItTurns) {
    FakeAudioDevice device;
    SoundSystem sound(device);
    sound.bkg.PlayBkgMusic("/m/a.wav");

    sound.SpeedChange = 500;
    sound.StartPanSweep();
    std::vector<int32_t> pans = Sweep(sound, device, 70);
    EXPECT_EQ(std::vector<int32_t>(pans.begin(), pans.begin() + 3),
              (std::vector<int32_t>{-5000, -4500, -4000}));
    EXPECT_EQ(std::vector<int32_t>(pans.begin() + 20, pans.begin() + 26),
              (std::vector<int32_t>{5000, 5500, 5000, 4500, 4000, 3500}));
    EXPECT_EQ(*std::min_element(pans.begin(), pans.end()), -5500);
    EXPECT_EQ(*std::max_element(pans.begin(), pans.end()), 5500);

    sound.SpeedChange = 300;
    sound.StartPanSweep();
    pans = Sweep(sound, device, 40);
    EXPECT_EQ(std::vector<int32_t>(pans.begin() + 33, pans.begin() + 37),
              (std::vector<int32_t>{4900, 5200, 4900, 4600}));

    sound.SpeedChange = 0;
    sound.ForLoop = 1234;
    sound.StartPanSweep();
    EXPECT_EQ(Sweep(sound, device, 3), (std::vector<int32_t>{0, 0, 0}));

    // A hand-edited speed far beyond the range keeps the pan handed over within it.
    sound.SpeedChange = 32767;
    sound.StartPanSweep();
    pans = Sweep(sound, device, 6);
    EXPECT_EQ(pans, (std::vector<int32_t>{-5000, 10000, -5000, -10000, -5000, 10000}));
}

}  // namespace
}  // namespace vorblin
