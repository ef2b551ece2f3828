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
    virtual void sleepUnlessReadable(uint32_t ms, const int* /*fds*/, size_t /*count*/) {
        sleepMs(ms);
    }
    // Watches the descriptors for up to `us` microseconds of real time
    // without going to sleep (a busy wait that yields the processor); true
    // as soon as one has input. Used where input is due within microseconds,
    // so that the thread need not be woken from a sleep. A virtual clock has
    // no real time to watch: it returns false at once.
    virtual bool spinUntilReadable(uint32_t /*us*/, const int* /*fds*/, size_t /*count*/) {
        return false;
    }
};

// Wrap-safe elapsed time between two ticks.
inline uint32_t ticksSince(uint32_t now, uint32_t then) {
    return now - then;
}

}  // namespace zr
