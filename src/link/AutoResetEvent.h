#pragma once

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
    void wait();

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool signalled_ = false;
};

}  // namespace zr
