#pragma once

#include "link/Clock.h"

namespace zr {

// The real clock: steady_clock milliseconds cut to 32 bits, and a real sleep.
class SystemClock : public Clock {
  public:
    uint32_t tickMs() override;
    void sleepMs(uint32_t ms) override;
    // poll() on the descriptors for at most `ms`. A descriptor that has hung
    // up or failed would end every wait at once; then the rest of the time is
    // slept, so a vanished device never turns a waiting loop into a spin.
    void sleepUnlessReadable(uint32_t ms, const int* fds, size_t count) override;
    // poll() without a time-out, and a yield, until input or the time is up.
    // A hang-up or error ends the watch as "nothing to read".
    bool spinUntilReadable(uint32_t us, const int* fds, size_t count) override;
    static SystemClock& instance();
};

}  // namespace zr
