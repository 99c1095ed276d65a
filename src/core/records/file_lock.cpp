#include "core/records/file_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <thread>

namespace vorblin {

namespace {

std::string HostName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

int64_t Ns(const timespec& t) {
    return int64_t{t.tv_sec} * 1000000000 + t.tv_nsec;
}

std::string NewToken() {
    std::random_device entropy;
    const uint64_t value = (uint64_t{entropy()} << 32) ^ entropy();
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else if (n < 0 && errno != EINTR)
            return false;
    }
    return true;
}

// The whole (small) file and its status, from one open file: the server's answer for this
// very file, not attributes a client cached for an earlier file of that name.
bool ReadWithStatus(const std::string& path, std::string& text, struct stat& info) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buffer[512];
    ssize_t n = 0;
    while ((n = read(fd, buffer, sizeof buffer)) > 0 && text.size() < 4096)
        text.append(buffer, static_cast<size_t>(n));
    const bool ok = n >= 0 && fstat(fd, &info) == 0;
    close(fd);
    return ok;
}

}  // namespace

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
        in >> owner.host;
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
    // A file under a name nobody else uses can be made wherever files can be made at all.
    if (!MakeOwnFile()) {
        impossible_ = true;
        return;
    }
    std::minstd_rand jitter(static_cast<unsigned>(getpid()));
    for (;;) {
        const Placed placed = Place(path_);
        if (placed != Placed::Busy) {
            held_ = placed == Placed::Held;
            impossible_ = placed == Placed::Impossible;
            break;
        }
        std::string token;
        if (IsStale(path_, token) && BreakStale(token))
            continue;  // taken away: try again at once
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::microseconds(500 + jitter() % 4000));
        // The lock's stamp is our file's: it must tell when the lock was taken.
        if (ShareNowNs() - ownStampNs_ > 1000000000) {
            RemoveOwnFile();
            if (!MakeOwnFile()) {
                impossible_ = true;
                break;
            }
        }
    }
    if (!held_)
        RemoveOwnFile();
}

FileLock::~FileLock() {
    if (held_) {
        // Only our own lock goes: one taken over from us as stale belongs to someone else.
        Owner owner;
        int64_t age = 0;
        if (ReadLock(path_, owner, age) && owner.token == token_)
            unlink(path_.c_str());
    }
    RemoveOwnFile();
}

bool FileLock::MakeOwnFile() {
    static unsigned counter = 0;
    own_ = path_ + "." + token_ + "." + std::to_string(++counter);
    const int fd = ops_.CreateExclusive(own_);
    if (fd < 0) {
        own_.clear();
        return false;
    }
    struct stat info {};
    const bool stamped = fstat(fd, &info) == 0;
    // The server stamped the new file with its own time: from here on its clock is
    // this machine's plus the difference.
    ownStampNs_ = stamped ? Ns(info.st_mtim) : Ns(ops_.Now());
    offsetNs_ = ownStampNs_ - Ns(ops_.Now());
    char fixed[64];
    std::snprintf(fixed, sizeof fixed, "%s %012lld %09lld %010ld ", token_.c_str(),
                  static_cast<long long>(ownStampNs_ / 1000000000),
                  static_cast<long long>(ownStampNs_ % 1000000000), static_cast<long>(getpid()));
    content_ = fixed + HostName() + "\n";
    const bool written = WriteAll(fd, content_);
    if (close(fd) != 0 || !written) {
        RemoveOwnFile();
        return false;
    }
    return true;
}

void FileLock::RemoveOwnFile() {
    if (!own_.empty())
        unlink(own_.c_str());
    own_.clear();
}

int64_t FileLock::ShareNowNs() const {
    return Ns(ops_.Now()) + offsetNs_;
}

FileLock::Placed FileLock::Place(const std::string& name) {
    if (ops_.Link(own_, name) == 0)
        return Placed::Held;
    Owner owner;
    int64_t age = 0;
    if (ReadLock(name, owner, age))  // a lost reply to a link that did happen, or another's
        return owner.token == token_ ? Placed::Held : Placed::Busy;
    // No lock to be seen, so the link failed for a reason of its own (no hard links here):
    // create it exclusively instead; an error with a lock seen afterwards is someone's lock.
    const int fd = ops_.CreateExclusive(name);
    if (fd >= 0) {
        const bool written = WriteAll(fd, content_);
        if (close(fd) == 0 && written)
            return Placed::Held;
        unlink(name.c_str());
        return Placed::Impossible;
    }
    const int error = errno;
    if (ReadLock(name, owner, age))
        return Placed::Busy;
    if (error == EROFS || error == EACCES || error == ENOENT || error == ENOSPC || error == EDQUOT)
        return Placed::Impossible;
    return Placed::Busy;  // came and went meanwhile: try again
}

bool FileLock::ReadLock(const std::string& name, Owner& owner, int64_t& ageNs) const {
    std::string text;
    struct stat info {};
    if (!ReadWithStatus(name, text, info))
        return false;
    owner = ParseOwner(text);
    // The stamp inside was the server's when the lock was made; the file's own time is the
    // fallback for locks of older versions (or one still being written).
    const int64_t made = owner.stampNs >= 0 ? owner.stampNs : Ns(info.st_mtim);
    ageNs = ShareNowNs() - made;
    return true;
}

bool FileLock::IsStale(const std::string& name, std::string& token) const {
    Owner owner;
    int64_t age = 0;
    if (!ReadLock(name, owner, age))
        return false;  // gone meanwhile: simply try again
    token = owner.token;
    if (age > std::chrono::nanoseconds(staleAfter_).count())
        return true;
    // Its owner on this machine has died.
    if (owner.host != HostName() || owner.pid <= 0)
        return false;
    return kill(static_cast<pid_t>(owner.pid), 0) != 0 && errno == ESRCH;
}

bool FileLock::BreakStale(const std::string& token) {
    // Two processes that both found the lock stale must not both remove it: the second
    // would remove the fresh lock of the first. Whoever holds the breaker checks again that
    // the lock is still the very one found stale.
    const std::string breaker = path_ + ".break";
    const Placed placed = Place(breaker);
    if (placed != Placed::Held) {
        // A breaker left by a process that died while breaking goes after the same time.
        std::string breakerToken;
        if (placed == Placed::Busy && IsStale(breaker, breakerToken)) {
            Owner owner;
            int64_t age = 0;
            if (ReadLock(breaker, owner, age) && owner.token == breakerToken)
                unlink(breaker.c_str());
        }
        return false;
    }
    std::string now;
    const bool broken = IsStale(path_, now) && now == token && unlink(path_.c_str()) == 0;
    unlink(breaker.c_str());
    return broken;
}

}  // namespace vorblin
