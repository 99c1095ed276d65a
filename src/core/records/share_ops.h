#pragma once
// The few calls on the shared folder whose answers differ between file systems (an
// exclusive create that another client beat, a refused rename) and this machine's clock:
// tests replace them to play a network share's answers and a clock that is off.

#include <ctime>
#include <string>

namespace vorblin {

class ShareOps {
  public:
    virtual ~ShareOps() = default;
    // open(2) with O_WRONLY | O_CREAT | O_EXCL: a descriptor, or -1 with errno set.
    virtual int CreateExclusive(const std::string& path);
    // link(2) and rename(2): 0, or -1 with errno set.
    virtual int Link(const std::string& from, const std::string& to);
    virtual int Rename(const std::string& from, const std::string& to);
    // This machine's wall clock (which need not agree with the file server's).
    virtual timespec Now();
};

// The file system and clock as they are.
ShareOps& RealShare();

}  // namespace vorblin
