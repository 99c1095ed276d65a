#include "core/records/share_worker.h"

#include <thread>

namespace vorblin {

bool ShareWorker::Busy() const {
    const std::lock_guard<std::mutex> guard(state_->mutex);
    return state_->running;
}

bool ShareWorker::Run(std::function<void()> job, std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(state_->mutex);
    if (state_->running)
        return false;
    state_->running = true;
    // The thread keeps the state alive: it may outlive this object (a hung mount at exit).
    std::thread([state = state_, job = std::move(job)] {
        job();
        const std::lock_guard<std::mutex> guard(state->mutex);
        state->running = false;
        state->finished.notify_all();
    }).detach();
    return state_->finished.wait_for(lock, wait, [&] { return !state_->running; });
}

}  // namespace vorblin
