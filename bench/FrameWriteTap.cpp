#include "FrameWriteTap.h"

namespace zr::bench {

uint32_t FrameWriteTap::tickMs() {
    if (link_ && link_->framePending()) {
        std::lock_guard lock(mutex_);
        writes_.push_back(BenchClock::now());
    }
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
