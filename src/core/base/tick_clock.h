#pragma once
// The fall timer's clock. The rules count time in 2 ms ticks, but nothing on screen
// changes faster than a frame: the window sleeps until something can change, then this
// clock runs every tick that fell due meanwhile, in order, none lost and none invented.

#include <cstdint>
#include <functional>

namespace vorblin {

class TickClock {
  public:
    static constexpr int64_t kTickNs = 2'000'000;
    // About 60 wake-ups a second at the most.
    static constexpr int64_t kFrameNs = 16'666'667;

    // Counts from now on, with no tick owed (a start, a resume, the end of a game over).
    void Start(int64_t now);
    // Paused: nothing is owed while stopped.
    void Stop() { running_ = false; }
    bool Running() const { return running_; }

    // Ticks due at `now` and not run yet.
    int64_t Due(int64_t now) const;

    // Runs the due ticks one at a time; returns how many. A tick may stop the clock or
    // start it afresh (the game paused, or a game over waited in its dialogs): the batch
    // ends there.
    int64_t RunDue(int64_t now, const std::function<void()>& tick);

    // When to wake next: when the tick `ticks` ahead falls due, but not before a frame
    // from now.
    int64_t WakeAt(int64_t now, int64_t ticks) const;

  private:
    int64_t origin_ = 0;
    int64_t ran_ = 0;
    bool running_ = false;
    uint64_t starts_ = 0;  // tells a batch that a tick started the clock afresh
};

}  // namespace vorblin
