#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "link/Clock.h"

namespace zr::test {

// Virtual time for the whole soak: the panel's link and the camera model run
// on it. Only the link's worker moves it (by what `step` says for each of its
// 1 ms sleeps); a sleep on the user interface thread moves nothing. So a reply
// delayed 990 ms always beats the 1000 ms time-out and one delayed 1010 ms
// never does, however busy the machine, and a 3 s time-out costs a handful of
// passes when the step skips to the next moment something can happen.
class SoakClock : public Clock {
  public:
    SoakClock() : owner_(std::this_thread::get_id()) {}

    uint32_t tickMs() override { return tick_.load(); }
    void sleepMs(uint32_t ms) override;
    void setStep(std::function<uint32_t()> step) { step_ = std::move(step); }

  private:
    const std::thread::id owner_;
    std::atomic<uint32_t> tick_{0};
    std::function<uint32_t()> step_;
};

}  // namespace zr::test
