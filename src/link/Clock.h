#pragma once

#include <cstddef>
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
    // Waits like sleepMs(ms), except that a clock that waits in real time may
    // end the wait as soon as one of the descriptors (negative ones are
    // skipped) has input, so a reply or a queued frame is seen at once. A
    // virtual clock has no real time to wait in: it sleeps as always, which
    // keeps timing tests exact.
    virtual void sleepUnlessReadable(uint32_t ms, const int* fds, size_t count) {
        (void)fds;
        (void)count;
        sleepMs(ms);
    }
};

// Wrap-safe elapsed time between two ticks.
inline uint32_t ticksSince(uint32_t now, uint32_t then) {
    return now - then;
}

}  // namespace zr
