// Start-up time of the game as a player sees it: from exec to the first window of the
// program mapped on the X display. Usage: vorblin_startup_time PROGRAM [runs]
// (needs DISPLAY; each run gets a fresh folder, so the files are made anew every time).

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    const std::filesystem::path program = std::filesystem::absolute(argv[1]);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        char pattern[] = "/tmp/vorblin-start-XXXXXX";
        const std::filesystem::path folder = mkdtemp(pattern);
        std::filesystem::copy_file(program, folder / program.filename());
        XSync(display, True);  // forget earlier events
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            const std::string path = (folder / program.filename()).string();
            execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (;;) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                break;
        }
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::filesystem::remove_all(folder);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("exec to first mapped window, %d runs: median %.1f ms, min %.1f ms, max %.1f ms\n",
                runs, ms[ms.size() / 2], ms.front(), ms.back());
    XCloseDisplay(display);
    return 0;
}
