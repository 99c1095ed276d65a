#include "records/file_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <random>
#include <thread>

#include "toolkit/text_file.h"

namespace vorblin {

namespace {

std::string HostName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

// Age of a file by its modification time, as the clock of this machine sees it.
std::chrono::milliseconds AgeOf(const struct stat& info) {
    struct timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    const auto ms = [](const struct timespec& t) {
        return std::chrono::milliseconds(int64_t{t.tv_sec} * 1000 + t.tv_nsec / 1000000);
    };
    return ms(now) - ms(info.st_mtim);
}

}  // namespace

FileLock::FileLock(std::string path, std::chrono::milliseconds wait,
                   std::chrono::milliseconds staleAfter)
    : path_(std::move(path)), staleAfter_(staleAfter) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::minstd_rand jitter(static_cast<unsigned>(getpid()));
    for (;;) {
        if (TryCreate()) {
            held_ = true;
            return;
        }
        if (errno != EEXIST)
            return;  // the folder cannot take a lock file (read-only): go on without
        if (IsStale(path_) && BreakStale())
            continue;  // taken away: try again at once
        if (std::chrono::steady_clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(std::chrono::microseconds(500 + jitter() % 4000));
    }
}

FileLock::~FileLock() {
    if (!held_)
        return;
    // Only our own lock goes: one taken over from us as stale belongs to someone else now.
    struct stat info {};
    if (stat(path_.c_str(), &info) == 0 && info.st_ino == inode_)
        unlink(path_.c_str());
}

bool FileLock::TryCreate() {
    const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const std::string owner = HostName() + " " + std::to_string(getpid()) + "\n";
    [[maybe_unused]] const ssize_t written = write(fd, owner.data(), owner.size());
    struct stat info {};
    fstat(fd, &info);
    inode_ = info.st_ino;
    close(fd);
    return true;
}

bool FileLock::IsStale(const std::string& path) const {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return false;  // gone meanwhile: simply try again
    if (AgeOf(info) > staleAfter_)
        return true;
    // Its owner on this machine has died.
    const std::string owner = ReadFileBytes(path).bytes;
    const size_t blank = owner.rfind(' ');
    if (blank == std::string::npos || owner.substr(0, blank) != HostName())
        return false;
    const long pid = std::strtol(owner.c_str() + blank + 1, nullptr, 10);
    return pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

bool FileLock::BreakStale() {
    // Two processes that both found the lock stale must not both remove it: the second
    // would remove the fresh lock of the first. Whoever holds the breaker checks again.
    const std::string breaker = path_ + ".break";
    const int fd = open(breaker.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        // A breaker left by a process that died while breaking goes after the same time.
        struct stat info {};
        if (errno == EEXIST && stat(breaker.c_str(), &info) == 0 && AgeOf(info) > staleAfter_)
            unlink(breaker.c_str());
        return false;
    }
    close(fd);
    const bool broken = IsStale(path_) && unlink(path_.c_str()) == 0;
    unlink(breaker.c_str());
    return broken;
}

}  // namespace vorblin
