#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/FaultSchedule.h"
#include "support/RecordingSink.h"

namespace zr::test {

// One exchange as the camera saw it: its first frame and the resends.
struct ReviewedExchange {
    std::string text;
    bool read = false;        // the text asks for answer data
    int frames = 0;           // 1..3
    bool carriedOut = false;  // the camera acted on at least one frame
    bool succeeded = false;   // no time-out: ACK (or NAK) and, for a read, a good answer
    std::string failure;      // the message a failed exchange shows
};

// Works out, from the faults each frame met, how every exchange of one
// operation must end by the protocol, and compares that with what happened:
// the resends (same text, 1001 ticks apart, only while no reply came, at
// most two), the messages (text, caption, modality, and the tick at which the
// time-out expires), and the time each successful exchange took (its reply's
// delay plus a few passes). `walk`: the operation stops at a failed read.
// Needs a clock that counts the worker's passes (PassClock).
class ExchangeReview {
  public:
    ExchangeReview(const std::vector<FrameRecord>& frames,
                   const std::vector<RecordedMessage>& messages, bool walk);

    const std::vector<ReviewedExchange>& exchanges() const { return exchanges_; }
    // Everything that did not go as the protocol says; empty when all did.
    const std::vector<std::string>& problems() const { return problems_; }

  private:
    void problem(size_t exchange, const std::string& what);
    void problem(size_t exchange, const std::string& text, const std::string& what);

    std::vector<ReviewedExchange> exchanges_;
    std::vector<std::string> problems_;
};

}  // namespace zr::test
