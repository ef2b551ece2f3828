#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "link/Clock.h"

namespace zr::test {

// A virtual millisecond clock for deterministic timing tests, the simulated
// camera's tests and the fuzzers.
//
// How time advances: only through sleepMs() and advance(). tickMs() returns the
// start tick plus every millisecond slept or advanced so far (32 bits, so a
// start near 0xFFFFFFFF tests the wrap). sleepMs(n) moves time on by n at once
// and then yields the processor; it never waits in real time. The link worker
// waits through the clock between passes, and a virtual clock lets one
// millisecond pass per wait, so one pass is one virtual millisecond and a
// time-out of 1000 ms takes 1000 passes, a few real milliseconds. The
// callers' waits (SendCommand's for the previous exchange, waitLinkEvent, a
// message held open by RecordingSink) use real time and do not move it.
//
// Hold point: holdAt(tick) stops virtual time at `tick` (or now, if `tick`
// has already gone by). A sleepMs() that
// would pass it advances time to the hold point and blocks (in real time) until
// release() or a later holdAt(). waitHeld() lets the test wait until a thread
// is blocked there, so it can look at the link at an exact virtual moment.
// Release the hold before closing a link whose worker may be blocked at it.
class ManualClock : public Clock {
  public:
    explicit ManualClock(uint32_t startTick = 0);

    uint32_t tickMs() override;
    void sleepMs(uint32_t ms) override;

    void advance(uint32_t ms);  // moves time on without blocking (ignores the hold)
    void holdAt(uint32_t tick);
    void release();
    // Real-time wait until some thread is blocked at the hold point.
    bool waitHeld(std::chrono::milliseconds limit = std::chrono::seconds(10));
    uint64_t elapsedMs();  // virtual time since construction, never wraps

  private:
    uint32_t tickLocked() const { return static_cast<uint32_t>(start_ + elapsed_); }

    std::mutex mutex_;
    std::condition_variable changed_;
    const uint32_t start_;
    uint64_t elapsed_ = 0;
    bool holding_ = false;
    uint64_t holdElapsed_ = 0;
    int blocked_ = 0;
};

}  // namespace zr::test
