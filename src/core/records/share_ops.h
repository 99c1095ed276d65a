#pragma once
// The calls on a shared folder, and the careful use of them that other people's ground asks
// for. Every call whose answer differs between file systems (a network share refuses what a
// local disk allows, answers "busy" for a file another client has open) or that a crash may
// interrupt goes through ShareOps: tests replace it to play a share's answers, a clock that
// is off, a mount that hangs, or a process killed at any one step.

#include <sys/stat.h>
#include <sys/types.h>

#include <ctime>
#include <functional>
#include <string>

#include "core/base/text_file.h"

namespace vorblin {

class ShareOps {
  public:
    virtual ~ShareOps() = default;
    // open(2): a descriptor, or -1 with errno set.
    virtual int Open(const std::string& path, int flags, mode_t mode = 0);
    // rename(2), unlink(2), lstat(2): 0, or -1 with errno set.
    virtual int Rename(const std::string& from, const std::string& to);
    virtual int Unlink(const std::string& path);
    virtual int Stat(const std::string& path, struct stat& info);
    // This machine's wall clock (which need not agree with the file server's).
    virtual timespec Now();
};

// The file system and clock as they are.
ShareOps& RealShare();

// A full table is about 6 KB: anything past this is not a table, whatever it claims.
constexpr size_t kMaxSharedFileBytes = 1 << 20;

// The whole file, read as other people's ground asks: never through a symlink, only a
// regular file, never blocking on a FIFO, at most `cap` bytes. Missing only when nothing is
// there; anything else that is no readable file is Unreadable, and `why` says what.
FileBytes ReadShared(ShareOps& ops, const std::string& path, std::string* why = nullptr,
                     size_t cap = kMaxSharedFileBytes);

// A new file in the shared folder, exclusively and never through a symlink, readable and
// writable by the folder's group whatever this player's umask: one player's umask must not
// lock the others out. A descriptor, or -1 with errno set.
int CreateShared(ShareOps& ops, const std::string& path);

// A file server may refuse to remove or replace a file another client has open for a
// moment (SMB answers EBUSY, through FUSE a removal also EIO): the call is tried again for
// about `patience` milliseconds.
int UnlinkPatiently(ShareOps& ops, const std::string& path, int patience = 2000);
int RenamePatiently(ShareOps& ops, const std::string& from, const std::string& to,
                    int patience = 2000);

// The pauses between the tries of a call that a share refuses for a moment: from `firstMs`,
// doubling up to `mostMs` each, until `patienceMs` have been waited in all. Sleep() waits the
// next one and says how long it was; once the patience is spent it says 0 at once.
class Backoff {
  public:
    Backoff(int firstMs, int mostMs, int patienceMs)
        : next_(firstMs), most_(mostMs), left_(patienceMs) {}
    int Sleep();

  private:
    int next_, most_, left_;
};

// Where the player hears what went wrong with the shared table: the game shows no dialog
// for it, so a line on standard error names the folder and the reason.
using Reporter = std::function<void(const std::string&)>;
void ReportOnStderr(const std::string& problem);

// Nanoseconds since the epoch.
int64_t Ns(const timespec& t);

// 16 random hexadecimal digits: the identity of a result, a lock, a temporary file.
std::string NewToken();

}  // namespace vorblin
