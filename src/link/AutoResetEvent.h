#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace zr {

// An event that releases one waiter and resets itself. A signal with nobody
// waiting stays set until the next wait.
class AutoResetEvent {
  public:
    void signal();
    void reset();
    // Waits until signalled; false when the time ran out first.
    bool waitFor(std::chrono::milliseconds timeout);
    // The same, but first watches the event for up to `spin` without going to
    // sleep (yielding the processor), for a signal due within microseconds.
    bool waitFor(std::chrono::milliseconds timeout, std::chrono::microseconds spin);

  private:
    std::mutex mutex_;
    std::condition_variable cv_;
    // Written under the mutex; read without it only by the spinning wait.
    std::atomic<bool> signalled_{false};
};

}  // namespace zr
