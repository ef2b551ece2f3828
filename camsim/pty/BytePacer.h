#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace zr::sim {

// Holds bytes back until a serial line at `baud` (10 bits a byte) would have
// carried them. Baud 0 passes bytes on at once.
class BytePacer {
  public:
    using Clock = std::chrono::steady_clock;

    explicit BytePacer(uint32_t baud);

    void push(const std::string& bytes, Clock::time_point now);
    // The bytes whose time has come.
    std::string takeDue(Clock::time_point now);
    bool empty() const { return queue_.empty(); }
    // When the next byte is due; nothing when empty.
    std::optional<Clock::time_point> nextDue() const;

  private:
    struct Timed {
        Clock::time_point due;
        char byte;
    };
    Clock::duration byteTime_;
    Clock::time_point lineFree_{};
    std::deque<Timed> queue_;
};

}  // namespace zr::sim
