#include "core/records/share_ops.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>

namespace vorblin {

int ShareOps::Open(const std::string& path, int flags, mode_t mode) {
    return open(path.c_str(), flags | O_CLOEXEC, mode);
}

int ShareOps::Rename(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str());
}

int ShareOps::Unlink(const std::string& path) {
    return unlink(path.c_str());
}

int ShareOps::Stat(const std::string& path, struct stat& info) {
    return lstat(path.c_str(), &info);
}

timespec ShareOps::Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

ShareOps& RealShare() {
    static ShareOps real;
    return real;
}

void ReportOnStderr(const std::string& problem) {
    std::fprintf(stderr, "Vorblin Cascade: %s\n", problem.c_str());
}

int64_t Ns(const timespec& t) {
    return int64_t{t.tv_sec} * 1000000000 + t.tv_nsec;
}

std::string NewToken() {
    std::random_device entropy;
    const unsigned long long value = (static_cast<unsigned long long>(entropy()) << 32) ^ entropy();
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", value);
    return text;
}

FileBytes ReadShared(ShareOps& ops, const std::string& path, std::string* why, size_t cap) {
    FileBytes result;
    const auto fail = [&](const std::string& reason) {
        result.status = ReadStatus::Unreadable;
        result.bytes.clear();
        if (why)
            *why = reason;
        return result;
    };
    int fd = ops.Open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    // A file server may keep a file busy for a moment while another client replaces it (SMB
    // through FUSE answers EBUSY or EIO then).
    for (Backoff wait(5, 2000, 2000); fd < 0 && (errno == EBUSY || errno == EIO) && wait.Sleep();)
        fd = ops.Open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) {
            result.status = ReadStatus::Missing;
            return result;
        }
        return fail(errno == ELOOP ? "a symbolic link, which the game never follows there"
                                   : std::string("cannot be opened: ") + std::strerror(errno));
    }
    struct stat info {};
    std::string reason;
    if (fstat(fd, &info) != 0)
        reason = std::string("cannot be examined: ") + std::strerror(errno);
    else if (!S_ISREG(info.st_mode))
        reason = "not a regular file";
    else if (static_cast<uint64_t>(info.st_size) > cap)
        reason = "larger than " + std::to_string(cap) + " bytes, far more than any table";
    else if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        reason = std::string("cannot be read: ") + std::strerror(errno);
    char buffer[16384];
    while (reason.empty()) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            reason = std::string("cannot be read: ") + std::strerror(errno);
        else if (result.bytes.size() + static_cast<size_t>(n) > cap)
            reason = "larger than " + std::to_string(cap) + " bytes, far more than any table";
        else
            result.bytes.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    if (!reason.empty())
        return fail(reason);
    result.status = ReadStatus::Ok;
    return result;
}

int CreateShared(ShareOps& ops, const std::string& path) {
    const int fd = ops.Open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0664);
    // The umask took its bits already; a file system that keeps no modes may refuse.
    if (fd >= 0)
        (void)fchmod(fd, 0664);
    return fd;
}

namespace {

template <typename Call>
int Patiently(Call call, int patience) {
    for (Backoff wait(5, 200, patience);;) {
        const int rc = call();
        if (rc == 0 || errno != EBUSY || !wait.Sleep())
            return rc;
    }
}

}  // namespace

int Backoff::Sleep() {
    if (left_ <= 0)
        return 0;
    const int pause = next_;
    std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    left_ -= pause;
    next_ = std::min(pause * 2, most_);
    return pause;
}

int UnlinkPatiently(ShareOps& ops, const std::string& path, int patience) {
    return Patiently(
        [&] {
            const int rc = ops.Unlink(path);
            if (rc != 0 && errno == EIO)
                errno = EBUSY;
            return rc;
        },
        patience);
}

int RenamePatiently(ShareOps& ops, const std::string& from, const std::string& to, int patience) {
    // SMB answers EEXIST for a rename over a file that another client has open; a rename of
    // a file never fails so otherwise.
    return Patiently(
        [&] {
            const int rc = ops.Rename(from, to);
            if (rc != 0 && errno == EEXIST)
                errno = EBUSY;
            return rc;
        },
        patience);
}

}  // namespace vorblin
