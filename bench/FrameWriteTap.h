#pragma once

#include <mutex>
#include <vector>

#include "ExchangeTimes.h"
#include "link/SerialLink.h"
#include "link/SystemClock.h"

namespace zr::bench {

// The real clock, noting when the link's worker writes a frame. The worker
// reads the tick for lastSendTick while its frame is still marked pending,
// and at no other moment while one is pending, so those readings mark the
// start of each exchange of an operation that runs many (a read walk) without
// reaching into it.
class FrameWriteTap : public SystemClock {
  public:
    uint32_t tickMs() override;

    // `traced`: a trace hook reads the tick too, also while a frame is
    // pending (as the frame goes out, or bytes come in); then the last reading
    // of each pending stretch is the send tick's. The hook's reading of the
    // reply's bytes, never pending, ends the stretch.
    void watch(const SerialLink* link, bool traced = false) {
        link_ = link;
        traced_ = traced;
    }
    void clear();
    std::vector<BenchClock::time_point> writes();

  private:
    const SerialLink* link_ = nullptr;
    std::mutex mutex_;
    std::vector<BenchClock::time_point> writes_;
    bool traced_ = false;
    bool inStretch_ = false;  // traced: the last reading was made while pending
};

}  // namespace zr::bench
