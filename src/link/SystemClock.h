#pragma once

#include "link/Clock.h"

namespace zr {

// The real clock: steady_clock milliseconds cut to 32 bits, and a real sleep.
class SystemClock : public Clock {
public:
    uint32_t tickMs() override;
    void sleepMs(uint32_t ms) override;
    static SystemClock& instance();
};

}  // namespace zr
