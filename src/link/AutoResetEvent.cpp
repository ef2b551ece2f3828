#include "link/AutoResetEvent.h"

#include <thread>

namespace zr {

void AutoResetEvent::signal() {
    {
        std::lock_guard lock(mutex_);
        signalled_.store(true);
    }
    cv_.notify_one();
}

void AutoResetEvent::reset() {
    std::lock_guard lock(mutex_);
    signalled_.store(false);
}

bool AutoResetEvent::waitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!cv_.wait_for(lock, timeout, [this] { return signalled_.load(); })) return false;
    signalled_.store(false);
    return true;
}

bool AutoResetEvent::waitFor(std::chrono::milliseconds timeout, std::chrono::microseconds spin) {
    const auto end = std::chrono::steady_clock::now() + spin;
    while (std::chrono::steady_clock::now() < end) {
        if (signalled_.load()) {
            std::lock_guard lock(mutex_);
            if (signalled_.load()) {
                signalled_.store(false);
                return true;
            }
        }
        std::this_thread::yield();
    }
    return waitFor(timeout);
}

}  // namespace zr
