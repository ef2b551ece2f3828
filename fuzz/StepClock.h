#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "link/Clock.h"

namespace zr::fuzz {

// Virtual time for the fuzzers: a sleep moves the tick on at once and only
// yields, so a time-out of seconds costs a few thousand passes of the worker.
class StepClock : public Clock {
  public:
    uint32_t tickMs() override { return tick_.load(); }
    void sleepMs(uint32_t ms) override {
        tick_.fetch_add(ms);
        std::this_thread::yield();
    }

  private:
    std::atomic<uint32_t> tick_{0};
};

}  // namespace zr::fuzz
