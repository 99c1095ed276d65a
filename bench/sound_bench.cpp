// The cost of one event sound's play call as the fall tick sees it (p50, p99, max), with
// decoded sounds kept per file, against decoding the file at every play as the sound did
// before. Runs on the dummy audio driver unless another is set.
// Usage: vorblin_sound_bench [plays] [wav file]

#include <fcntl.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/sound/sound_settings_file.h"
#include "core/sound/sound_system.h"
#include "desktop/sound/sdl_audio_device.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

void Report(const char* what, std::vector<double> us) {
    std::sort(us.begin(), us.end());
    auto at = [&](double p) {
        return us[static_cast<size_t>(p * static_cast<double>(us.size() - 1))];
    };
    std::printf("%-34s p50 %8.2f us   p99 %8.2f us   max %8.2f us\n", what, at(0.5), at(0.99),
                us.back());
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QCoreApplication app(argc, argv);
    const int plays = argc > 1 ? std::atoi(argv[1]) : 2000;
    const std::string source =
        argc > 2 ? argv[2]
                 : vorblin::DefaultChannelPath(QCoreApplication::applicationDirPath().toStdString(),
                                               vorblin::Channel::mDelLin1);
    // A copy of its own, since the measurement changes the file's time.
    const std::string file =
        (std::filesystem::temp_directory_path() / "vorblin-sound-bench.wav").string();
    std::error_code copied;
    std::filesystem::copy_file(source, file, std::filesystem::copy_options::overwrite_existing,
                               copied);
    if (copied) {
        std::fprintf(stderr, "cannot copy %s\n", source.c_str());
        return 1;
    }
    vorblin::SdlAudioDevice device;
    if (!device.Open()) {
        std::fprintf(stderr, "no audio device\n");
        return 1;
    }
    vorblin::SoundSystem sound(device);
    sound.CreateChannels();
    sound.EnableSoundControl = true;
    vorblin::DMCtrl& channel = *sound.Get(vorblin::Channel::mDelLin1);
    channel.DMCtrlEnabled(true);
    channel.DMCtrlPath(file);
    channel.DMCtrlVolume(-600);

    auto measure = [&](bool touch) {
        std::vector<double> us;
        us.reserve(static_cast<size_t>(plays));
        for (int i = 0; i < plays; ++i) {
            if (touch) {
                // A new modification time: the sound is decoded again, as at every play before.
                const timespec times[2] = {{0, UTIME_OMIT}, {1000000 + i, 0}};
                utimensat(AT_FDCWD, file.c_str(), times, 0);
            }
            const auto start = SteadyClock::now();
            sound.Play(vorblin::Channel::mDelLin1);
            us.push_back(
                std::chrono::duration<double, std::micro>(SteadyClock::now() - start).count());
        }
        return us;
    };
    sound.Play(vorblin::Channel::mDelLin1);  // the first play decodes
    std::printf("%s, %d plays\n", file.c_str(), plays);
    Report("play, decoded sound kept:", measure(false));
    const int before = device.Decodes();
    Report("play, decoded at every play:", measure(true));
    std::printf("decodes: %d\n", device.Decodes() - before);

    // The fall tick's share of the background music: one pan sweep step.
    sound.bkg.PlayBkgMusic(file);
    sound.enableLoop = true;
    sound.SpeedChange = 300;
    sound.StartPanSweep();
    std::vector<double> us;
    us.reserve(static_cast<size_t>(plays));
    for (int i = 0; i < plays; ++i) {
        const auto start = SteadyClock::now();
        sound.PanSweepStep();
        us.push_back(std::chrono::duration<double, std::micro>(SteadyClock::now() - start).count());
    }
    Report(sound.bkg.BkgPlaying ? "pan sweep step, music playing:" : "pan sweep step, NO music:",
           us);
    std::filesystem::remove(file, copied);
    return 0;
}
