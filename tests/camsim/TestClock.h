#pragma once

#include <atomic>
#include <cstdint>

#include "link/Clock.h"

// A clock that moves only when told to (sleeping advances it).
class TestClock : public zr::Clock {
  public:
    explicit TestClock(uint32_t start = 1000) : now_(start) {}
    uint32_t tickMs() override { return now_; }
    void sleepMs(uint32_t ms) override { now_ += ms; }
    void advance(uint32_t ms) { now_ += ms; }

  private:
    std::atomic<uint32_t> now_;
};
