// The fall timer in the real main window: fall ticks a second, wake-ups of the event loop
// a second, how long a tick's handler takes (p50, p99) and how much of one core the process
// uses. Runs offscreen unless a platform is set.
// Usage: vorblin_tick_rate [seconds] [fall|drop] [sweep]
//   fall: a figure falls at level 0 untouched; drop: every figure is dropped as it shows.
//   sweep: the background music plays (the shipped tune, on the dummy audio driver unless
//   another is set) and its pan sweeps at every tick.
// Wake-ups count the times the main thread slept and woke (its voluntary context switches).
// The well is emptied at every landing, so that no game ends during the measurement.

#include <sys/resource.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/sound/sound_settings_file.h"
#include "desktop/main/frm_main_window.h"
#include "support/fakes.h"

namespace {
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
// How often the main thread has given up the processor to wait: its voluntary context
// switches, that is its real wake-ups.
long MainThreadSleeps() {
    std::FILE* status = std::fopen("/proc/thread-self/status", "r");
    if (status == nullptr)
        return 0;
    char line[256];
    long count = 0;
    while (std::fgets(line, sizeof line, status) != nullptr)
        if (std::sscanf(line, "voluntary_ctxt_switches: %ld", &count) == 1)
            break;
    std::fclose(status);
    return count;
}
}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    const bool drop = argc > 2 && std::strcmp(argv[2], "drop") == 0;
    QApplication app(argc, argv);
    vorblin::testing::TempFolder folder;  // a hall of fame of its own
    vorblin::FrmMain window(nullptr, nullptr, folder.path);
    window.show();
    vorblin::Game& game = window.Shell().game;
    bool sweep = false;
    for (int i = 2; i < argc; ++i)
        sweep = sweep || std::strcmp(argv[i], "sweep") == 0;
    if (sweep) {
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
    int16_t landed = game.scores.FigureCount;
    window.SetTickObserver([&](int64_t ns) {
        handlerNs.push_back(ns);
        if (game.scores.FigureCount != landed) {
            if (drop)  // the player drops the new figure as soon as it shows
                QTimer::singleShot(0, &window, [&] { window.PressKey(Qt::Key_Down); });
            landed = game.scores.FigureCount;
            for (int x = 0; x <= game.board.MaxX; ++x)  // keep the game going
                for (int y = 0; y <= game.board.MaxY; ++y)
                    game.board.C(x, y) = false;
        }
    });
    // Loop turns: every return of the event loop from waiting or polling.
    long loopTurns = 0;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake,
                     [&] { ++loopTurns; });
    long sleepsBefore = 0;
    if (drop)
        window.PressKey(Qt::Key_Down);

    // Let start-up settle, then measure.
    QTimer::singleShot(500, [&] {
        window.CatchUpNow();  // counted from a moment with no tick owed
        handlerNs.clear();
        loopTurns = 0;
        sleepsBefore = MainThreadSleeps();
        const double cpuStart = CpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QTimer::singleShot(
            static_cast<int>(seconds * 1000), Qt::PreciseTimer, &app, [&, cpuStart, wall] {
                window.CatchUpNow();  // every tick due until now is accounted
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
                std::printf("mode %s, %s\n", drop ? "drop" : "fall",
                            qPrintable(QGuiApplication::platformName()));
                std::printf("fall ticks: %zu in %.2f s = %.1f ticks/s\n", sorted.size(), elapsed,
                            static_cast<double>(sorted.size()) / elapsed);
                std::printf(
                    "wake-ups: %.1f a second (the main thread slept and woke), %.1f "
                    "event-loop turns a second\n",
                    static_cast<double>(MainThreadSleeps() - sleepsBefore) / elapsed,
                    static_cast<double>(loopTurns) / elapsed);
                std::printf("tick handler: p50 %.2f us, p99 %.2f us, max %.2f us\n",
                            percentile(0.5), percentile(0.99), percentile(1.0));
                std::printf("process CPU: %.2f %% of one core\n", 100.0 * cpu / elapsed);
                std::printf("figures landed: %d\n", game.scores.FigureCount);
                app.quit();
            });
    });
    return app.exec();
}
