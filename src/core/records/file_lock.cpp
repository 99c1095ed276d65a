#include "core/records/file_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <limits>
#include <random>
#include <sstream>
#include <thread>

namespace vorblin {

std::string FileLock::HostName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

std::string FileLock::BootId() {
    static const std::string boot = [] {
        std::string id = ReadFileBytes("/proc/sys/kernel/random/boot_id").bytes;
        std::erase_if(id, [](char c) { return c == '\n' || c == ' '; });
        return id;
    }();
    return boot;
}

FileLock::Owner FileLock::ParseOwner(const std::string& text) {
    Owner owner;
    std::istringstream in(text);
    std::string first;
    in >> first;
    int64_t seconds = 0;
    int64_t nanoseconds = 0;
    if (first.size() == 16 && first.find_first_not_of("0123456789abcdef") == std::string::npos &&
        in >> seconds >> nanoseconds >> owner.pid) {
        owner.token = first;
        owner.stampNs = seconds * 1000000000 + nanoseconds;
        in >> owner.host >> owner.boot;
        return owner;
    }
    std::istringstream old(text);
    old >> owner.host >> owner.pid;
    return owner;
}

FileLock::FileLock(std::string path, std::chrono::milliseconds wait,
                   std::chrono::milliseconds staleAfter, ShareOps& ops)
    : path_(std::move(path)), staleAfter_(staleAfter), ops_(ops), token_(NewToken()) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::minstd_rand jitter(static_cast<unsigned>(std::random_device{}()));
    for (int round = 0;; ++round) {
        const Placed placed = Place(path_);
        if (placed != Placed::Busy) {
            held_ = placed == Placed::Held;
            impossible_ = placed == Placed::Impossible;
            return;
        }
        // Ages need the server's clock; a folder where no file can be made takes no lock.
        if (serverNs_ == 0 && !LearnClock()) {
            impossible_ = true;
            return;
        }
        Seen seen;
        if (IsStale(path_, seen, false) && BreakStale(seen.print))
            continue;  // taken away: try again at once
        if (std::chrono::steady_clock::now() >= deadline)
            return;
        // SMB through FUSE answers EIO for a name that came and went on another client, and
        // keeps answering it while the name is asked for: a longer pause lets it settle.
        if (lastError_ == EIO)
            std::this_thread::sleep_for(std::chrono::milliseconds(20 + jitter() % 60));
        // Short waits at first (a store takes milliseconds), longer ones after, scattered so
        // that waiters do not all knock at once.
        const unsigned most = 1000u + 1000u * static_cast<unsigned>(std::min(round, 15));
        std::this_thread::sleep_for(std::chrono::microseconds(500 + jitter() % most));
    }
}

FileLock::~FileLock() {
    // Only our own lock goes: one taken over from us as stale belongs to someone else. A
    // refused removal may have happened all the same (SMB), and someone else's lock may
    // stand there by the next try: it is looked at again before every try.
    for (Backoff wait(5, 200, 2000); StillHeld();)
        if (ops_.Unlink(path_) == 0 || errno != EBUSY || !wait.Sleep())
            break;
}

bool FileLock::StillHeld() {
    if (!held_)
        return false;
    // Gone is gone; any other failure to look (SMB's passing EIO) is looked past.
    Seen seen;
    for (int pause = 10; pause < 1000; pause *= 2) {
        if (Look(path_, seen, true))
            return seen.owner.token == token_;
        if (errno == ENOENT)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    }
    return false;
}

int64_t FileLock::ShareNowNs() const {
    if (serverNs_ == 0)
        return Ns(ops_.Now());
    return serverNs_ + std::chrono::duration_cast<std::chrono::nanoseconds>(
                           std::chrono::steady_clock::now() - learned_)
                           .count();
}

namespace {

// The file server stamped a file just made with its own time.
int64_t StampOf(int fd, ShareOps& ops) {
    struct stat info {};
    return fstat(fd, &info) == 0 && info.st_mtim.tv_sec > 0 ? Ns(info.st_mtim) : Ns(ops.Now());
}

}  // namespace

bool FileLock::LearnClock() {
    const std::string probe = path_ + "." + token_ + ".clock";
    int fd = CreateShared(ops_, probe);
    // A folder that takes no file says so; a passing failure is tried again. The name is ours
    // alone: found there, it was made by a try whose reply was lost (SMB), and goes.
    for (Backoff wait(10, 1000, 1000); fd < 0; fd = CreateShared(ops_, probe)) {
        if (errno == EEXIST)
            UnlinkPatiently(ops_, probe);
        else if (errno != EIO && errno != EBUSY && errno != EINTR)
            break;
        if (!wait.Sleep())
            break;
    }
    if (fd < 0) {
        UnlinkPatiently(ops_, probe);
        return false;
    }
    serverNs_ = StampOf(fd, ops_);
    learned_ = std::chrono::steady_clock::now();
    close(fd);
    UnlinkPatiently(ops_, probe);
    return true;
}

FileLock::Placed FileLock::Place(const std::string& name) {
    const int fd = CreateShared(ops_, name);
    lastError_ = 0;
    if (fd >= 0) {
        serverNs_ = StampOf(fd, ops_);
        learned_ = std::chrono::steady_clock::now();
        char fixed[64];
        std::snprintf(fixed, sizeof fixed, "%s %012lld %09lld %010ld ", token_.c_str(),
                      static_cast<long long>(serverNs_ / 1000000000),
                      static_cast<long long>(serverNs_ % 1000000000), static_cast<long>(getpid()));
        const std::string content = fixed + HostName() + " " + BootId() + "\n";
        const bool written = WriteAll(fd, content);
        if (close(fd) != 0 || !written) {
            UnlinkPatiently(ops_, name);
            return Placed::Impossible;
        }
        // An exclusive create is not always exclusive (SMB through FUSE has handed one file
        // to two creators at once): the lock is ours if it says so once written.
        Seen seen;
        return !Look(name, seen, true) || seen.owner.token == token_ ? Placed::Held : Placed::Busy;
    }
    const int error = errno;
    lastError_ = error;
    // A lost reply to a create that did happen, or someone else's lock.
    Seen seen;
    if (Look(name, seen, false))
        return seen.owner.token == token_ ? Placed::Held : Placed::Busy;
    if (error == EROFS || error == EACCES || error == ENOENT || error == ENOSPC ||
        error == EDQUOT || error == ENOTDIR)
        return Placed::Impossible;
    return Placed::Busy;  // came and went meanwhile: try again
}

bool FileLock::Look(const std::string& name, Seen& seen, bool fresh) {
    struct stat info {};
    if (ops_.Stat(name, info) != 0)
        return false;
    const int64_t changed = Ns(info.st_mtim);
    seen.print = std::to_string(info.st_ino) + ":" + std::to_string(info.st_size) + ":" +
                 std::to_string(changed);
    if (!S_ISREG(info.st_mode)) {
        // Planted, not made by any game: nobody holds it, it may go at once.
        seen.owner = {};
        seen.ageNs = std::numeric_limits<int64_t>::max();
        return true;
    }
    if (fresh || seen.print != lastAttributes_ || name != path_) {
        const FileBytes text = ReadShared(ops_, name, nullptr, 4096);
        if (text.status == ReadStatus::Missing)
            return false;
        // One we may not read (another player's umask) is judged by its age alone.
        seen.owner = text.status == ReadStatus::Ok ? ParseOwner(text.bytes) : Owner{};
        if (name == path_) {
            lastAttributes_ = seen.print;
            lastSeen_.owner = seen.owner;
        }
    } else {
        seen.owner = lastSeen_.owner;
    }
    // The stamp inside was the server's when the lock was made; the file's own time is the
    // fallback for locks of older versions (or one still being written).
    const int64_t made = seen.owner.stampNs >= 0 ? seen.owner.stampNs : changed;
    seen.ageNs = ShareNowNs() - made;
    seen.print += ":" + seen.owner.token;
    return true;
}

bool FileLock::IsStale(const std::string& name, Seen& seen, bool fresh) {
    if (!Look(name, seen, fresh))
        return false;  // gone meanwhile: simply try again
    if (seen.ageNs > std::chrono::nanoseconds(staleAfter_).count())
        return true;
    // Its owner on this very machine has died. A host name alone does not tell: two
    // machines may carry the same one, so the boot must be this one too.
    const Owner& o = seen.owner;
    if (o.host != HostName() || o.boot.empty() || o.boot != BootId() || o.pid <= 0)
        return false;
    return kill(static_cast<pid_t>(o.pid), 0) != 0 && errno == ESRCH;
}

bool FileLock::BreakStale(const std::string& print) {
    // Two processes that both found the lock stale must not both remove it: the second
    // would remove the fresh lock of the first. Whoever holds the breaker checks again that
    // the lock is still the very one found stale.
    const std::string breaker = path_ + ".break";
    const Placed placed = Place(breaker);
    if (placed != Placed::Held) {
        // A breaker left by a process that died while breaking goes after the same time.
        Seen old;
        if (placed == Placed::Busy && IsStale(breaker, old, true)) {
            Seen again;
            if (Look(breaker, again, true) && again.print == old.print)
                UnlinkPatiently(ops_, breaker);
        }
        return false;
    }
    // Read afresh (attributes a network client cached may still be those of the old lock),
    // before every try: a refused removal may have happened all the same.
    bool broken = false;
    Seen now;
    for (Backoff wait(5, 200, 300); IsStale(path_, now, true) && now.print == print;) {
        broken = ops_.Unlink(path_) == 0;
        if (broken || errno != EBUSY || !wait.Sleep())
            break;
    }
    UnlinkPatiently(ops_, breaker);
    return broken;
}

}  // namespace vorblin
