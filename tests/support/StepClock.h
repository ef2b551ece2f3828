#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "link/Clock.h"

namespace zr::test {

// Virtual time for the simulated camera's tests and the fuzzers: it moves
// only when slept or advanced. A sleep moves the tick on at once and only
// yields, so a time-out of seconds costs a few thousand passes of the worker;
// the worker's wait lets one millisecond pass (Clock's default).
class StepClock : public Clock {
  public:
    explicit StepClock(uint32_t start = 0) : tick_(start) {}
    uint32_t tickMs() override { return tick_.load(); }
    void sleepMs(uint32_t ms) override {
        tick_.fetch_add(ms);
        std::this_thread::yield();
    }
    void advance(uint32_t ms) { tick_.fetch_add(ms); }

  private:
    std::atomic<uint32_t> tick_;
};

}  // namespace zr::test
