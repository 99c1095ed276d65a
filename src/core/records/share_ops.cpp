#include "core/records/share_ops.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace vorblin {

int ShareOps::CreateExclusive(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

int ShareOps::Link(const std::string& from, const std::string& to) {
    return link(from.c_str(), to.c_str());
}

int ShareOps::Rename(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str());
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

}  // namespace vorblin
