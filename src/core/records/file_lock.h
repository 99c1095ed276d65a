#pragma once
// An exclusive lock between processes and machines that share a folder, also over network
// file systems: the lock file is created exclusively (no hard links: SMB has none). Whether
// a failed create means that someone holds the lock is told by looking for the lock, never
// by the error code alone: SFTP, for one, answers "permission denied" for a file that
// exists. A waiter looks at the lock's attributes and reads it only when it changed, since
// a file server may refuse to remove a file that another client has open (SMB).

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "core/records/share_ops.h"

namespace vorblin {

class FileLock {
  public:
    // Waits up to `wait` for the lock. A lock left by a process that is gone (this very
    // machine, told by its boot as well as its name) is taken over at once; one older than
    // `staleAfter` is taken over too, since nobody holds the table for longer than a read and
    // a write. Ages are judged by the file server's clock, which stamps the files made in
    // the folder: machines' clocks may differ by more than the limit.
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
    // Whether the lock is still this one's, read afresh: a holder slower than the stale limit
    // has lost it to another, and must not write what it read before.
    bool StillHeld();
    // The file server's clock now, as learned from a file made there (this machine's clock
    // when none could be made).
    int64_t ShareNowNs() const;

    // What a lock file says of its owner: "token seconds nanoseconds pid host boot", all but
    // the host and boot of fixed width, so that a client that still believes an earlier
    // lock's size reads the token whole; older versions of the game wrote "host pid" and
    // then no boot.
    struct Owner {
        std::string host;
        long pid = 0;
        std::string token;
        int64_t stampNs = -1;  // the file server's time when the owner made it; -1 unknown
        std::string boot;      // which boot of its machine; two machines may share a name
    };
    static Owner ParseOwner(const std::string& text);
    // This machine as a lock names it: its host name and the identity of its boot.
    static std::string HostName();
    static std::string BootId();

  private:
    enum class Placed { Held, Busy, Impossible };
    // What is at a lock's name: whose it is, how old, and what tells this very file apart
    // from a later one of the same owner's name.
    struct Seen {
        Owner owner;
        int64_t ageNs = 0;
        std::string print;
    };
    Placed Place(const std::string& name);
    // False when nothing is there. `fresh` reads it even if its attributes did not change.
    bool Look(const std::string& name, Seen& seen, bool fresh);
    bool IsStale(const std::string& name, Seen& seen, bool fresh);
    bool BreakStale(const std::string& print);
    bool LearnClock();

    std::string path_;
    std::chrono::milliseconds staleAfter_;
    ShareOps& ops_;
    bool held_ = false;
    bool impossible_ = false;
    int lastError_ = 0;  // of the last failed create
    std::string token_;
    // The server's time at a moment of this machine's steady clock; 0 while unknown.
    int64_t serverNs_ = 0;
    std::chrono::steady_clock::time_point learned_{};
    // The lock last read, by its attributes, so that an unchanged one is not read again.
    std::string lastAttributes_;
    Seen lastSeen_;
};

}  // namespace vorblin
