#pragma once

#include <cstddef>
#include <cstdint>

#include "link/PollWait.h"

namespace zr {

// Millisecond tick and the link worker's wait, injected so that timing rules
// can be tested without waiting in real time. The tick is 32 bits and wraps;
// compare ticks only through ticksSince().
class Clock {
  public:
    static constexpr uint32_t kForever = UINT32_MAX;

    virtual ~Clock() = default;
    virtual uint32_t tickMs() = 0;
    virtual void sleepMs(uint32_t ms) = 0;
    // The worker's wait between passes: until one of the descriptors has
    // input (or has hung up), or `ms` milliseconds of this clock have passed
    // (kForever: no limit). A real clock sleeps in poll(). A virtual clock has
    // no real time to wait in: it lets one of its milliseconds pass and
    // reports nothing, so the worker makes one pass per virtual millisecond
    // and timing tests stay exact; with 0 it does not wait at all.
    virtual WaitResult waitReadable(const int* /*fds*/, size_t /*count*/, uint32_t ms) {
        if (ms > 0) sleepMs(1);
        return {};
    }
};

// Wrap-safe elapsed time between two ticks.
inline uint32_t ticksSince(uint32_t now, uint32_t then) {
    return now - then;
}

}  // namespace zr
