#include "FrameWriteTap.h"

#include "link/SystemClock.h"

namespace zr::bench {

uint32_t FrameWriteTap::tickMs() {
    if (link_ && link_->framePending()) {
        std::lock_guard lock(mutex_);
        writes_.push_back(BenchClock::now());
    }
    return SystemClock::instance().tickMs();
}

void FrameWriteTap::sleepMs(uint32_t ms) {
    SystemClock::instance().sleepMs(ms);
}

void FrameWriteTap::sleepUnlessReadable(uint32_t ms, const int* fds, size_t count) {
    SystemClock::instance().sleepUnlessReadable(ms, fds, count);
}

bool FrameWriteTap::spinUntilReadable(uint32_t us, const int* fds, size_t count) {
    return SystemClock::instance().spinUntilReadable(us, fds, count);
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
