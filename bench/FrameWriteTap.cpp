#include "FrameWriteTap.h"

namespace zr::bench {

uint32_t FrameWriteTap::tickMs() {
    const bool pending = link_ && link_->framePending();
    if (pending) {
        std::lock_guard lock(mutex_);
        if (inStretch_ && !writes_.empty())
            writes_.back() = BenchClock::now();
        else
            writes_.push_back(BenchClock::now());
    }
    inStretch_ = pending;
    return SystemClock::tickMs();
}

void FrameWriteTap::clear() {
    std::lock_guard lock(mutex_);
    writes_.clear();
}

std::vector<BenchClock::time_point> FrameWriteTap::writes() {
    std::lock_guard lock(mutex_);
    return writes_;
}

}  // namespace zr::bench
