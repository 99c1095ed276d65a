// The fall timer in the real main window: how many ticks a second it delivers, how long
// its handler takes (p50, p99) and how much of one core the process uses meanwhile.
// Runs offscreen unless a platform is set. With "sweep" the background music plays (the
// shipped tune, on the dummy audio driver unless another is set) and its pan sweeps at
// every tick. Usage: vorblin_tick_rate [seconds] [sweep]

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <string>

#include "shell/frm_main_window.h"
#include "sound/sound_settings_file.h"

namespace {
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    QApplication app(argc, argv);
    // A settings file of its own: the measurement leaves the player's settings alone.
    QTemporaryDir settings;
    vorblin::FrmMain window(nullptr, nullptr, settings.path().toStdString());
    window.show();
    if (argc > 2 && std::string(argv[2]) == "sweep") {
        vorblin::SoundSystem& sound = window.Sound();
        sound.PathToBkgMusic =
            vorblin::DefaultBkgPath(QCoreApplication::applicationDirPath().toStdString());
        sound.bkg.PlayBkgMusic(sound.PathToBkgMusic);
        sound.enableLoop = true;
        sound.SpeedChange = 300;
        sound.StartPanSweep();
        std::printf("background music %s, pan sweep on\n",
                    sound.bkg.BkgPlaying ? "playing" : "NOT playing");
    }

    std::vector<int64_t> handlerNs;
    handlerNs.reserve(static_cast<size_t>(seconds * 600));
    window.SetTickObserver([&](int64_t ns) { handlerNs.push_back(ns); });

    // Let start-up settle, then measure.
    QTimer::singleShot(500, [&] {
        handlerNs.clear();
        const double cpuStart = CpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QTimer::singleShot(
            static_cast<int>(seconds * 1000), Qt::PreciseTimer, &app, [&, cpuStart, wall] {
                const double elapsed = static_cast<double>(wall.nsecsElapsed()) / 1e9;
                const double cpu = CpuSeconds() - cpuStart;
                std::vector<int64_t> sorted = handlerNs;
                std::sort(sorted.begin(), sorted.end());
                auto percentile = [&](double p) {
                    return sorted.empty() ? 0.0
                                          : static_cast<double>(sorted[static_cast<size_t>(
                                                p * static_cast<double>(sorted.size() - 1))]) /
                                                1000.0;
                };
                std::printf("fall ticks: %zu in %.2f s = %.1f ticks/s\n", sorted.size(), elapsed,
                            static_cast<double>(sorted.size()) / elapsed);
                std::printf("tick handler: p50 %.2f us, p99 %.2f us, max %.2f us\n",
                            percentile(0.5), percentile(0.99), percentile(1.0));
                std::printf("process CPU: %.2f %% of one core\n", 100.0 * cpu / elapsed);
                std::printf("figures landed: %d, row of the falling figure: %d\n",
                            window.Shell().game.scores.FigureCount, window.Shell().game.board.PosY);
                app.quit();
            });
    });
    return app.exec();
}
