#pragma once
// An exclusive lock between processes and machines that share a folder, also over network
// file systems: a file of our own, made under a name nobody else uses, is hard-linked to the
// lock's name (or, where the file system has no hard links, the lock is created
// exclusively). Whether that failed because someone holds the lock is told by looking for
// the lock, never by the error code alone: SFTP, for one, answers "permission denied" for
// a file that exists.

#include <chrono>
#include <cstdint>
#include <string>

#include "core/records/share_ops.h"

namespace vorblin {

class FileLock {
  public:
    // Waits up to `wait` for the lock. A lock left by a process that is gone (same
    // machine) is taken over at once; one older than `staleAfter` is taken over too, since
    // nobody holds the table for longer than a read and a write. Ages are judged by the
    // file server's clock, which stamps the files made in the folder: machines' clocks may
    // differ by more than the limit.
    explicit FileLock(std::string path,
                      std::chrono::milliseconds wait = std::chrono::milliseconds(4000),
                      std::chrono::milliseconds staleAfter = std::chrono::milliseconds(8000),
                      ShareOps& ops = RealShare());
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return held_; }
    // Nothing can be made in the folder at all (read-only, or gone): waiting is pointless.
    bool Impossible() const { return impossible_; }

    // What a lock file says of its owner: "token seconds nanoseconds pid host", all but the
    // host of fixed width, so that a client that still believes an earlier lock's size
    // reads the token whole; older versions of the game wrote "host pid".
    struct Owner {
        std::string host;
        long pid = 0;
        std::string token;
        int64_t stampNs = -1;  // the file server's time when the owner made it; -1 unknown
    };
    static Owner ParseOwner(const std::string& text);

  private:
    enum class Placed { Held, Busy, Impossible };
    // A new own file; its stamp tells the file server's time.
    bool MakeOwnFile();
    void RemoveOwnFile();
    Placed Place(const std::string& name);
    // The owner of the file at name as it stands, and its age by the server's clock.
    bool ReadLock(const std::string& name, Owner& owner, int64_t& ageNs) const;
    bool IsStale(const std::string& name, std::string& token) const;
    bool BreakStale(const std::string& token);
    int64_t ShareNowNs() const;

    std::string path_;
    std::chrono::milliseconds staleAfter_;
    ShareOps& ops_;
    bool held_ = false;
    bool impossible_ = false;
    std::string own_;      // path of our own file
    std::string content_;  // what it says
    std::string token_;
    int64_t ownStampNs_ = 0;  // server time when our own file was made
    int64_t offsetNs_ = 0;    // server clock minus this machine's
};

}  // namespace vorblin
