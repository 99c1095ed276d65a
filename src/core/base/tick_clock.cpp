#include "core/base/tick_clock.h"

#include <algorithm>

namespace vorblin {

void TickClock::Start(int64_t now) {
    origin_ = now;
    ran_ = 0;
    running_ = true;
    ++starts_;
}

int64_t TickClock::Due(int64_t now) const {
    if (!running_ || now < origin_)
        return 0;
    return (now - origin_) / kTickNs - ran_;
}

int64_t TickClock::RunDue(int64_t now, const std::function<void()>& tick) {
    const uint64_t start = starts_;
    int64_t count = 0;
    while (running_ && starts_ == start && Due(now) > 0) {
        ++ran_;
        ++count;
        tick();
    }
    return count;
}

int64_t TickClock::WakeAt(int64_t now, int64_t ticks) const {
    const int64_t due = origin_ + (ran_ + ticks) * kTickNs;
    return std::max(due, now + kFrameNs);
}

}  // namespace vorblin
