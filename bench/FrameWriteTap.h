#pragma once

#include <mutex>
#include <vector>

#include "ExchangeTimes.h"
#include "link/SerialLink.h"
#include "link/SystemClock.h"

namespace zr::bench {

// The real clock, noting when the link's worker writes a frame. The worker
// reads the tick for lastSendTick while its frame is still marked pending,
// and it is the last reading of that pending stretch (the pass's start and a
// trace hook may read it too while the frame waits; a reading made while
// nothing is pending ends the stretch), so those readings mark the start of
// each exchange of an operation that runs many (a read walk) without
// reaching into it.
class FrameWriteTap : public SystemClock {
  public:
    uint32_t tickMs() override;

    void watch(const SerialLink* link) { link_ = link; }
    void clear();
    std::vector<BenchClock::time_point> writes();

  private:
    const SerialLink* link_ = nullptr;
    std::mutex mutex_;
    std::vector<BenchClock::time_point> writes_;
    bool inStretch_ = false;  // the last reading was made while pending
};

}  // namespace zr::bench
