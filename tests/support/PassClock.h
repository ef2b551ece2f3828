#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

#include "link/Clock.h"

namespace zr::test {

// Virtual time that only the link's worker moves, and only while there is
// something to time: a sleep on any thread but the one that made the clock
// moves the tick on at once by what `step` says (by default the time slept);
// a sleep on that (user interface) thread moves nothing. The worker's wait
// between passes is one such sleep, so time follows its passes, whatever the threads' real speeds: a
// reply delayed 990 ms always comes before the 1000 ms time-out and one
// delayed 1010 ms always after it, a time-out fires at the same tick every
// run, and a slow user interface thread costs no virtual time. A step may
// skip passes in which nothing can happen (up to the next due reply or
// time-out). While the worker waits for a message box to close, time stands
// still.
class PassClock : public Clock {
  public:
    PassClock() : owner_(std::this_thread::get_id()) {}

    uint32_t tickMs() override { return tick_.load(); }
    void sleepMs(uint32_t ms) override;
    // Ticks one sleep of the worker moves time on; set before the worker starts.
    void setStep(std::function<uint32_t()> step) { step_ = std::move(step); }
    // The worker's sleeps also take this much real time, so that a camera
    // behind a real line (a pseudo-terminal) answers within a few passes.
    void setRealSleep(std::chrono::microseconds realSleep) { realSleep_ = realSleep; }

  private:
    const std::thread::id owner_;
    std::atomic<uint32_t> tick_{0};
    std::function<uint32_t()> step_;
    std::chrono::microseconds realSleep_{0};
};

}  // namespace zr::test
