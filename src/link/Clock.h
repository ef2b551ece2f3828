#pragma once

#include <cstdint>

namespace zr {

// Millisecond tick and sleep, injected so that timing rules can be tested
// without waiting in real time. The tick is 32 bits and wraps; compare ticks
// only through ticksSince().
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t tickMs() = 0;
    virtual void sleepMs(uint32_t ms) = 0;
};

// Wrap-safe elapsed time between two ticks.
inline uint32_t ticksSince(uint32_t now, uint32_t then) { return now - then; }

}  // namespace zr
