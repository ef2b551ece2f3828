#pragma once

#include <chrono>
#include <vector>

namespace zr::bench {

using BenchClock = std::chrono::steady_clock;

// Durations of consecutive exchanges, cut from a row of boundary instants:
// exchange i runs from boundary i to boundary i + 1, so the durations add
// up to the whole run and no gap between two exchanges goes uncounted.
class ExchangeTimes {
  public:
    static ExchangeTimes fromBoundaries(const std::vector<BenchClock::time_point>& boundaries);
    void add(const ExchangeTimes& more);

    size_t count() const { return micros_.size(); }
    double meanMs() const;
    double percentileMs(double fraction) const;  // nearest rank

  private:
    std::vector<double> micros_;
};

}  // namespace zr::bench
