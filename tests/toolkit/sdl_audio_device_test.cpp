// The toolkit under the windows: the drawing surface and the sound output.
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
#include "toolkit/image_surface.h"

namespace vorblin {
namespace {

TEST(ImageSurface, DrawsInItsOwnUnitsKeepsTheDrawingAndClips) {
    // The well: 233 x 433 pixels for 3760 x 7760 units, so a cell is 15.5 pixels wide and
    // 13.95 high: the layout's scale is not square.
    ImageSurface well(QSize(233, 433), 3760, 7760, kBlack);
    well.TakeDamage();
    well.FilledBox(28, 28, 222, 222, kYellow);  // the first cell
    EXPECT_EQ(well.TakeDamage(), QRect(QPoint(2, 2), QPoint(14, 12)));
    well.BoxOutline(278, 28, 472, 222, kCyan);         // an outline: the inside is untouched
    well.Line(250, 0, 250, 8500, RGB(150, 175, 175));  // a grid line runs past the surface
    well.FilledBox(-222, -222, -28, -28, kRed);        // entirely off the surface
    well.FilledBox(3700, 7700, 4000, 8000, kRed);      // across the corner
    const QPoint at[] = {{2, 2},  {14, 12}, {14, 13},  {1, 1}, {17, 2},   {29, 12},
                         {23, 7}, {15, 0},  {15, 432}, {0, 0}, {232, 432}};
    QStringList colours;
    for (QPoint p : at)
        colours << QString::number(well.Image().pixel(p) & 0xFFFFFF, 16);
    EXPECT_EQ(colours.join(' ').toStdString(),
              "ffff00 ffff00 0 0 ffff ffff 0 96afaf 96afaf 0 ff0000");
    well.Cls();
    EXPECT_EQ(well.Image().pixel(2, 2) & 0xFFFFFF, 0u);
    EXPECT_EQ(well.TakeDamage(), QRect(0, 0, 233, 433));
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
    // Slots out of range, calls without a buffer and levels out of range are refused.
    EXPECT_FALSE(device.Load(11, junk) || device.Load(-1, junk) || device.Play(0, false) ||
                 device.SetVolume(0, -100) || device.Stop(0));
    EXPECT_FALSE(device.SetVolume(1, 1) || device.SetVolume(1, -10001) || device.SetPan(1, 10001) ||
                 device.SetPan(1, -10001));
    device.Release(1);
    EXPECT_FALSE(device.Play(1, false));
}

// The last block of the mixed output.
struct Capture {
    Capture() { Mix_SetPostMix(&Capture::PostMix, this); }
    ~Capture() { Mix_SetPostMix(nullptr, nullptr); }
    static void PostMix(void* self, Uint8* stream, int len) {
        auto* c = static_cast<Capture*>(self);
        const auto* s = reinterpret_cast<const int16_t*>(stream);
        std::lock_guard<std::mutex> lock(c->mutex);
        c->last.assign(s, s + len / 2);
    }
    // Lets the output settle, then compares the mean level of each side, coarsely.
    void Expect(double left, double right) {
        SDL_Delay(300);
        std::lock_guard<std::mutex> lock(mutex);
        ASSERT_FALSE(last.empty());
        double sum[2] = {0, 0};
        for (size_t i = 0; i < last.size(); ++i)
            sum[i % 2] += std::abs(last[i]);
        EXPECT_NEAR(sum[0] * 2 / last.size(), left, 400);
        EXPECT_NEAR(sum[1] * 2 / last.size(), right, 400);
    }
    std::mutex mutex;
    std::vector<int16_t> last;  // stereo S16, as the device opens the mixer
};

TEST_F(SdlAudioDeviceTest, VolumePanAndStopReachTheOutput) {
    Capture capture;
    ASSERT_TRUE(device.Load(kBkgSlot, tune) && device.Play(kBkgSlot, true));
    capture.Expect(16000, 16000);
    ASSERT_TRUE(device.SetVolume(kBkgSlot, -2500));  // 25 dB down
    capture.Expect(16000 * 0.0562, 16000 * 0.0562);
    ASSERT_TRUE(device.SetVolume(kBkgSlot, 0) && device.SetPan(kBkgSlot, 10000));  // full right
    capture.Expect(0, 16000);
    ASSERT_TRUE(device.Stop(kBkgSlot));
    capture.Expect(0, 0);
    // A new buffer starts at full volume and centre pan.
    ASSERT_TRUE(device.Load(kBkgSlot, tune) && device.Play(kBkgSlot, true));
    capture.Expect(16000, 16000);
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
