#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "link/Clock.h"
#include "link/SerialLink.h"
#include "model/CameraModel.h"

namespace zr::test {

// Follows the link's bytes (its trace hook, on the worker thread) to learn,
// per camera register, whether the last exchange on it was acknowledged: a
// write the camera ACKed, a read whose answer the link accepted (it sent ACK
// back). For such a register it keeps what the camera held at that moment;
// the panel's table must show that, unless the camera changed the register on
// its own since (a memory load, an automatic adjustment).
class ExchangeTracker {
  public:
    ExchangeTracker(sim::CameraModel& camera, Clock& clock) : camera_(camera), clock_(clock) {}

    // Hooks the link; call while it is closed.
    // Installs itself as the link's trace hook; `forward` gets every event
    // too (the panel's own trace queue).
    void attach(SerialLink& link, std::function<void(const TraceEvent&)> forward = {});
    // Frames sent while set (raw commands the table does not follow) leave
    // their registers unknown.
    void setUntracked(bool untracked) { untracked_.store(untracked); }
    // Answers the link accepted before the camera's ACK of their exchange:
    // they belong to an earlier one (a late answer), whatever the link made
    // of them. Counted, and their registers left unknown.
    int answersBeforeAck() const { return answersBeforeAck_.load(); }

    struct Known {
        uint32_t data = 0;  // the register when the exchange was acknowledged
        bool acked = false;
    };
    // The state of a register (area without bit 7, address).
    Known known(uint8_t area, uint8_t address);
    void forgetAll();
    // Whether the camera's ACK or NAK to the exchange in progress (or the
    // last one) came over the line.
    bool replied();
    // Tick of the last frame the link wrote (first send or resend).
    uint32_t lastFrameTick() const { return lastFrameTick_.load(); }
    // The last command text sent and what became of it, for reports.
    std::string lastExchange();

  private:
    void onBytes(bool sent, const uint8_t* data, size_t count);
    void begin(const std::string& text);
    void acknowledge();

    sim::CameraModel& camera_;
    Clock& clock_;
    std::atomic<bool> untracked_{false};
    std::atomic<uint32_t> lastFrameTick_{0};
    std::atomic<int> answersBeforeAck_{0};
    // ZR_SOAK_TRACE=1: every byte on the line goes to stderr, with its tick.
    const bool dump_ = std::getenv("ZR_SOAK_TRACE") != nullptr;
    std::mutex mutex_;
    std::map<uint16_t, Known> registers_;
    std::string text_;  // the exchange in progress
    int frames_ = 0;
    bool replied_ = false;
    bool lateAnswer_ = false;  // the link took an answer before this exchange's ACK
    bool tracked_ = false;
};

}  // namespace zr::test
