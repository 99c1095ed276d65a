// The sound output on SDL_mixer.
#include "toolkit/sdl_audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <vector>

#include "support/fakes.h"

namespace vorblin {
namespace {

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
        setenv("SDL_AUDIODRIVER", "dummy", 0);
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
    for (const std::string& path : {std::string(), dir.File("missing.wav"), dir.path, junk})
        EXPECT_FALSE(device.Load(0, path)) << path;
    EXPECT_FALSE(device.Load(1, junk));  // an unusable file is not decoded at every play
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

// The mean level of each side once the output has settled, in thousands: "left|right|".
std::string Levels() {
    SDL_Delay(300);
    const std::lock_guard<std::mutex> lock(mixedLock);
    double sum[2] = {0, 0};
    for (size_t i = 0; i < mixed.size(); ++i)
        sum[i % 2] += std::abs(mixed[i]) * 2.0 / static_cast<double>(mixed.size());
    return testing::Seen(std::lround(sum[0] / 1000), std::lround(sum[1] / 1000));
}

TEST_F(SdlAudioDeviceTest, VolumePanAndStopReachTheOutput) {
    Mix_SetPostMix(&KeepMixed, nullptr);
    ASSERT_TRUE(device.Load(kBkgSlot, tune) && device.Play(kBkgSlot, true));
    EXPECT_EQ(Levels(), "16|16|");
    ASSERT_TRUE(device.SetVolume(kBkgSlot, -2500));  // 25 dB down: 900
    EXPECT_EQ(Levels(), "1|1|");
    ASSERT_TRUE(device.SetVolume(kBkgSlot, 0) && device.SetPan(kBkgSlot, 10000));  // full right
    EXPECT_EQ(Levels(), "0|16|");
    ASSERT_TRUE(device.Stop(kBkgSlot));
    EXPECT_EQ(Levels(), "0|0|");
    // A new buffer starts at full volume and centre pan.
    ASSERT_TRUE(device.Load(kBkgSlot, tune) && device.Play(kBkgSlot, true));
    EXPECT_EQ(Levels(), "16|16|");
    Mix_SetPostMix(nullptr, nullptr);
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
