#pragma once

#include "link/Clock.h"

namespace zr {

// The real clock: steady_clock milliseconds cut to 32 bits, a real sleep, and
// the worker's wait in poll().
class SystemClock : public Clock {
  public:
    uint32_t tickMs() override;
    void sleepMs(uint32_t ms) override;
    WaitResult waitReadable(const int* fds, size_t count, uint32_t ms) override;
    static SystemClock& instance();
};

}  // namespace zr
