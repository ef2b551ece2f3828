#include "ExchangeTimes.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zr::bench {

ExchangeTimes ExchangeTimes::fromBoundaries(const std::vector<BenchClock::time_point>& boundaries) {
    ExchangeTimes times;
    for (size_t i = 1; i < boundaries.size(); ++i) {
        const std::chrono::duration<double, std::micro> d = boundaries[i] - boundaries[i - 1];
        times.micros_.push_back(d.count());
    }
    return times;
}

void ExchangeTimes::add(const ExchangeTimes& more) {
    micros_.insert(micros_.end(), more.micros_.begin(), more.micros_.end());
}

double ExchangeTimes::meanMs() const {
    if (micros_.empty()) return 0;
    return std::accumulate(micros_.begin(), micros_.end(), 0.0) / micros_.size() / 1000.0;
}

double ExchangeTimes::percentileMs(double fraction) const {
    if (micros_.empty()) return 0;
    std::vector<double> sorted = micros_;
    std::sort(sorted.begin(), sorted.end());
    const auto rank = static_cast<size_t>(std::ceil(fraction * sorted.size()));
    return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1] / 1000.0;
}

}  // namespace zr::bench
