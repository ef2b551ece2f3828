#include "pty/BytePacer.h"

#include <algorithm>

namespace zr::sim {

BytePacer::BytePacer(uint32_t baud)
    : byteTime_(baud == 0 ? Clock::duration::zero()
                          : std::chrono::duration_cast<Clock::duration>(
                                std::chrono::microseconds(10'000'000LL / baud))) {}

void BytePacer::push(const std::string& bytes, Clock::time_point now) {
    for (char byte : bytes) {
        lineFree_ = std::max(lineFree_, now) + byteTime_;
        queue_.push_back({lineFree_, byte});
    }
}

std::string BytePacer::takeDue(Clock::time_point now) {
    std::string due;
    while (!queue_.empty() && queue_.front().due <= now) {
        due += queue_.front().byte;
        queue_.pop_front();
    }
    return due;
}

int BytePacer::msUntilNext(Clock::time_point now) const {
    if (queue_.empty()) return -1;
    if (queue_.front().due <= now) return 0;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(queue_.front().due - now);
    return static_cast<int>(wait.count());
}

}  // namespace zr::sim
