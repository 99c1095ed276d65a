// The fall timer: a clock that wakes the window only when something can change and then
// runs every 2 ms tick due since, in order.

#include "desktop/main/frm_main_window.h"

#include <chrono>

namespace vorblin {

namespace {
int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
}  // namespace

void FrmMain::OnFallTick() {
    RunFallTick();
    Sync();
}

void FrmMain::CatchUp() {
    // Not inside a batch: a game over's dialogs run inside their tick, and the events they
    // let through must not start another.
    if (inBatch_ || !fall_.Running())
        return;
    inBatch_ = true;
    fall_.RunDue(NowNs(), [this] { RunFallTick(); });
    inBatch_ = false;
}

void FrmMain::RunFallTick() {
    using SteadyClock = std::chrono::steady_clock;
    const SteadyClock::time_point start =
        tickObserver_ ? SteadyClock::now() : SteadyClock::time_point{};
    waited_ = false;
    shell_->game.tmrDown_Timer();
    // The time its dialogs waited is owed nothing, as a timer's handler that waited
    // would not have been called for it either.
    if (waited_ && fall_.Running())
        fall_.Start(NowNs());
    if (tickObserver_)
        tickObserver_(
            std::chrono::duration_cast<std::chrono::nanoseconds>(SteadyClock::now() - start)
                .count());
}

void FrmMain::FollowFallClock() {
    const bool enabled = shell_->game.tmrDown.Enabled;
    const int64_t now = NowNs();
    if (enabled && !fall_.Running())
        fall_.Start(now);
    else if (!enabled && fall_.Running())
        fall_.Stop();
    if (!fall_.Running() || inBatch_) {
        tmrDown_.stop();
        wakeAt_ = -1;
        return;
    }
    const int64_t at = fall_.WakeAt(now, shell_->game.TicksUntilChange());
    if (at == wakeAt_ && tmrDown_.isActive())
        return;
    wakeAt_ = at;
    tmrDown_.start(static_cast<int>((at - now + 999'999) / 1'000'000));
}
}  // namespace vorblin
