#include "pty/BytePacer.h"

#include <algorithm>

namespace zr::sim {

BytePacer::BytePacer(uint32_t baud)
    : byteTime_(baud == 0 ? Clock::duration::zero()
                          : std::chrono::duration_cast<Clock::duration>(
                                std::chrono::nanoseconds(10'000'000'000LL / baud))) {}

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

std::optional<BytePacer::Clock::time_point> BytePacer::nextDue() const {
    if (queue_.empty()) return std::nullopt;
    return queue_.front().due;
}

}  // namespace zr::sim
