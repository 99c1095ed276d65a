#pragma once
// Work on the shared folder off the window's thread: a mount that hangs outright (a dead
// sshfs, a stopped server) must never freeze the game. The caller waits a moment for the
// work and goes on without it when it takes longer.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace vorblin {

class ShareWorker {
  public:
    // Runs the job on a thread of its own and waits up to `wait` for it; true when it has
    // finished. While a job from before still runs (the share hangs), no other starts: false
    // at once. A job that finishes late still finishes its work, unseen.
    bool Run(std::function<void()> job, std::chrono::milliseconds wait);
    bool Busy() const;

  private:
    struct State {
        std::mutex mutex;
        std::condition_variable finished;
        bool running = false;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace vorblin
