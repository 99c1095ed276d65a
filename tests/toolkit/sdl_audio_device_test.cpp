#include "toolkit/sdl_audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "support/fakes.h"
#include "support/wav_file.h"

namespace vorblin {
namespace {

namespace fs = std::filesystem;

using vorblin::testing::TempFolder;

TEST(SdlAudio, LevelsFoldTheVolumeIntoThePanningFactors) {
    struct Case {
        int32_t volume, pan;
        double left, right;  // amplitude factors expected
    };
    const Case cases[] = {
        {0, 0, 1, 1},
        {-600, 0, 0.501, 0.501},
        {-2500, 0, 0.0562, 0.0562},
        {-6000, 0, 0.001, 0.001},
        {0, 10000, 0, 1},
        {0, -10000, 1, 0},
        {0, 2000, 0.1, 1},
        {-2000, -600, 0.1, 0.0501},
        {-10000, 0, 0, 0},
        {500, 0, 1, 1},
        {0, 20000, 0, 1},
    };
    for (const Case& c : cases) {
        const MixerLevels l = LevelsFor(c.volume, c.pan);
        const double left = l.volume / 128.0 * l.left / 255.0;
        const double right = l.volume / 128.0 * l.right / 255.0;
        EXPECT_NEAR(left, c.left, c.left * 0.03 + 2e-4) << c.volume << " " << c.pan;
        EXPECT_NEAR(right, c.right, c.right * 0.03 + 2e-4) << c.volume << " " << c.pan;
    }
}

// Each test opens the device afresh on the dummy driver (set by the test run).
class SdlAudioDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("SDL_AUDIODRIVER") == nullptr)
            setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(device.Open());
        tune = dir.path + "/tune.wav";
        ASSERT_TRUE(testing::WriteMonoWav(tune, std::vector<int16_t>(44100, 16000)));
    }
    TempFolder dir;
    std::string tune;
    SdlAudioDevice device;
};

TEST_F(SdlAudioDeviceTest, DecodesOncePerFileUntilItChanges) {
    const std::string junk = dir.path + "/junk.wav";
    std::ofstream(junk) << "not a sound";
    EXPECT_FALSE(device.Load(0, ""));
    EXPECT_FALSE(device.Load(0, dir.path + "/missing.wav"));
    EXPECT_FALSE(device.Load(0, dir.path));  // a folder
    EXPECT_FALSE(device.Load(0, junk));
    EXPECT_FALSE(device.Load(1, junk));  // an unusable file is not decoded at every play
    EXPECT_EQ(device.Decodes(), 1);

    EXPECT_TRUE(device.Load(0, tune));
    EXPECT_TRUE(device.Load(1, tune));
    EXPECT_TRUE(device.Load(0, tune));
    EXPECT_EQ(device.Decodes(), 2);
    ASSERT_TRUE(testing::WriteMonoWav(tune, std::vector<int16_t>(100, 5)));
    EXPECT_TRUE(device.Load(0, tune));
    EXPECT_EQ(device.Decodes(), 3);
    fs::remove(tune);
    EXPECT_FALSE(device.Load(0, tune));

    // Slots out of range and calls without a buffer are refused.
    EXPECT_FALSE(device.Load(11, junk));
    EXPECT_FALSE(device.Load(-1, junk));
    EXPECT_FALSE(device.Play(0, false));
    EXPECT_FALSE(device.SetVolume(0, -100));
    EXPECT_FALSE(device.Stop(0));
}

TEST_F(SdlAudioDeviceTest, RefusesLevelsOutOfRange) {
    ASSERT_TRUE(device.Load(3, tune));
    EXPECT_TRUE(device.SetVolume(3, 0));
    EXPECT_TRUE(device.SetVolume(3, -10000));
    EXPECT_FALSE(device.SetVolume(3, 1));
    EXPECT_FALSE(device.SetVolume(3, -10001));
    EXPECT_TRUE(device.SetPan(3, 10000));
    EXPECT_TRUE(device.SetPan(3, -10000));
    EXPECT_FALSE(device.SetPan(3, 10001));
    EXPECT_TRUE(device.Play(3, false));
    EXPECT_TRUE(device.Stop(3));
    device.Release(3);
    EXPECT_FALSE(device.Play(3, false));
}

// The mixed output, averaged per side over the callbacks since the last reset.
struct Capture {
    static void PostMix(void* self, Uint8* stream, int len) {
        auto* c = static_cast<Capture*>(self);
        const auto* s = reinterpret_cast<const int16_t*>(stream);
        std::lock_guard<std::mutex> lock(c->mutex);
        for (int i = 0; i + 1 < len / 2; i += 2) {
            c->left += std::abs(s[i]);
            c->right += std::abs(s[i + 1]);
            ++c->frames;
        }
    }
    // Waits for fresh output, then gives the mean level of each side.
    std::pair<double, double> Measure() {
        SDL_Delay(150);
        {
            std::lock_guard<std::mutex> lock(mutex);
            left = right = 0;
            frames = 0;
        }
        SDL_Delay(200);
        std::lock_guard<std::mutex> lock(mutex);
        if (frames == 0)
            return {-1, -1};
        return {left / static_cast<double>(frames), right / static_cast<double>(frames)};
    }
    std::mutex mutex;
    double left = 0, right = 0;
    long frames = 0;
};

TEST_F(SdlAudioDeviceTest, VolumePanStopAndResumeReachTheOutput) {
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    ASSERT_EQ(format, AUDIO_S16SYS);
    ASSERT_EQ(channels, 2);
    Capture capture;
    Mix_SetPostMix(&Capture::PostMix, &capture);

    ASSERT_TRUE(device.Load(kBkgSlot, tune));
    ASSERT_TRUE(device.Play(kBkgSlot, true));
    auto [l, r] = capture.Measure();
    EXPECT_NEAR(l, 16000, 400);
    EXPECT_NEAR(r, 16000, 400);

    ASSERT_TRUE(device.SetVolume(kBkgSlot, -2500));  // 25 dB down
    std::tie(l, r) = capture.Measure();
    EXPECT_NEAR(l, 16000 * 0.0562, 60);
    EXPECT_NEAR(r, 16000 * 0.0562, 60);

    ASSERT_TRUE(device.SetVolume(kBkgSlot, 0));
    ASSERT_TRUE(device.SetPan(kBkgSlot, 10000));  // full right
    std::tie(l, r) = capture.Measure();
    EXPECT_LT(l, 50);
    EXPECT_NEAR(r, 16000, 400);

    ASSERT_TRUE(device.Stop(kBkgSlot));
    std::tie(l, r) = capture.Measure();
    EXPECT_EQ(r, 0);
    ASSERT_TRUE(device.Play(kBkgSlot, true));  // resumes where it stood, pan kept
    std::tie(l, r) = capture.Measure();
    EXPECT_LT(l, 50);
    EXPECT_NEAR(r, 16000, 400);

    // A new buffer starts at full volume and centre pan.
    ASSERT_TRUE(device.Load(kBkgSlot, tune));
    ASSERT_TRUE(device.Play(kBkgSlot, true));
    std::tie(l, r) = capture.Measure();
    EXPECT_NEAR(l, 16000, 400);
    EXPECT_NEAR(r, 16000, 400);
    Mix_SetPostMix(nullptr, nullptr);
}

TEST(SdlAudio, WithoutADeviceEverythingStaysSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlAudioDevice device;
    EXPECT_FALSE(device.Open());
    EXPECT_FALSE(device.Open());
    EXPECT_FALSE(device.Load(0, "/x.wav"));
    EXPECT_FALSE(device.Play(0, false));
    EXPECT_FALSE(device.Stop(0));
    device.Release(0);
}

}  // namespace
}  // namespace vorblin
