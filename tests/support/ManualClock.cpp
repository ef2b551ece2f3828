#include "support/ManualClock.h"

#include <thread>

namespace zr::test {

ManualClock::ManualClock(uint32_t startTick) : start_(startTick) {}

uint32_t ManualClock::tickMs() {
    std::lock_guard lock(mutex_);
    return tickLocked();
}

uint64_t ManualClock::elapsedMs() {
    std::lock_guard lock(mutex_);
    return elapsed_;
}

void ManualClock::sleepMs(uint32_t ms) {
    {
        std::unique_lock lock(mutex_);
        uint64_t target = elapsed_ + ms;
        while (holding_ && target > holdElapsed_) {
            if (elapsed_ < holdElapsed_) elapsed_ = holdElapsed_;
            ++blocked_;
            changed_.notify_all();
            const uint64_t hold = holdElapsed_;
            changed_.wait(lock, [&] { return !holding_ || holdElapsed_ != hold; });
            --blocked_;
        }
        if (elapsed_ < target) elapsed_ = target;
    }
    std::this_thread::yield();
}

void ManualClock::advance(uint32_t ms) {
    std::lock_guard lock(mutex_);
    elapsed_ += ms;
}

void ManualClock::holdAt(uint32_t tick) {
    std::lock_guard lock(mutex_);
    holding_ = true;
    // A tick that has just gone by (a worker slept after the caller read the
    // clock) holds time where it is now, not 49 days ahead.
    const uint32_t ahead = ticksSince(tick, tickLocked());
    holdElapsed_ = elapsed_ + (ahead > 0x7FFFFFFFu ? 0 : ahead);
    changed_.notify_all();
}

void ManualClock::release() {
    std::lock_guard lock(mutex_);
    holding_ = false;
    changed_.notify_all();
}

bool ManualClock::waitHeld(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit,
                             [&] { return holding_ && blocked_ > 0 && elapsed_ == holdElapsed_; });
}

}  // namespace zr::test
