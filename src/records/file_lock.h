#pragma once
// An exclusive lock between processes and machines that share a folder: a lock file
// created only if it does not exist (which network file systems honour too).

#include <chrono>
#include <string>

#include <sys/types.h>

namespace vorblin {

class FileLock {
  public:
    // Waits up to `wait` for the lock. A lock left by a process that is gone (same
    // machine) is taken over at once; one older than `staleAfter` is taken over too, since
    // nobody holds the table for longer than a read and a write.
    explicit FileLock(std::string path,
                      std::chrono::milliseconds wait = std::chrono::milliseconds(4000),
                      std::chrono::milliseconds staleAfter = std::chrono::milliseconds(8000));
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return held_; }

  private:
    bool TryCreate();
    bool IsStale(const std::string& path) const;
    // Removes the stale lock unless another process is doing so; true when it went.
    bool BreakStale();

    std::string path_;
    std::chrono::milliseconds staleAfter_;
    bool held_ = false;
    ino_t inode_ = 0;
};

}  // namespace vorblin
