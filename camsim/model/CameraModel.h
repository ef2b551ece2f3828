#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "link/Clock.h"
#include "model/BehaviourSettings.h"
#include "model/CameraBehaviour.h"
#include "model/CommandFrameParser.h"
#include "model/FaultSettings.h"
#include "model/ReplyQueue.h"

namespace zr::sim {

// One frame the camera received, as it came off the line.
struct ReceivedFrame : ParsedFrame {
    uint32_t tick = 0;  // clock tick when its last byte arrived
};

// The simulated ZR-K880TM: speaks the frame protocol, holds the register map
// and behaves like the camera (memories, factory setting, adjust mode, white
// spot detection, automatic gain adjustment, look-up tables, identity texts,
// temperature), with fault injection on demand. Thread-safe: the host side may
// write and read from one thread while a test configures it from another.
class CameraModel {
  public:
    explicit CameraModel(Clock& clock);

    // Host -> camera bytes.
    void hostWrite(const uint8_t* data, size_t count);
    // Camera -> host bytes that are due now; at most `max`. One read returns
    // at most one reply piece (see FaultSettings for splitting and merging).
    size_t hostRead(uint8_t* buffer, size_t max);
    // Whether reply bytes are queued, due or not, and how long until the next is due.
    bool replyPending() const;
    uint32_t msUntilReplyDue() const;

    // Registers: three data bytes per (area without bit 7, address).
    uint32_t reg(uint8_t area, uint8_t address) const;  // bytes as 0xD1D2D3
    void setReg(uint8_t area, uint8_t address, uint32_t bytes);

    std::vector<ReceivedFrame> frames() const;
    // Texts of the frames received with a good checksum, in order.
    std::vector<std::string> commandTexts() const;
    // The ACK and NAK bytes the host sent outside frames (its replies to
    // answer frames), in order.
    std::vector<uint8_t> hostReplies() const;
    void clearLog();
    // Called (outside the model's lock) for every frame received.
    void setFrameObserver(std::function<void(const ReceivedFrame&)> observer);

    FaultSettings faults() const;
    void setFaults(const FaultSettings& faults);
    void updateFaults(const std::function<void(FaultSettings&)>& change);

    // Identity texts that changed are written to their registers.
    void setBehaviour(const BehaviourSettings& behaviour);
    void updateBehaviour(const std::function<void(BehaviourSettings&)>& change);

    // Camera state.
    void setHeldSpots(int colour, const std::vector<Spot>& spots);
    int currentMemory() const;
    bool adjustMode() const;
    uint32_t memoryData(int memory, int row) const;

  private:
    void handleFrame(const ParsedFrame& frame, uint32_t now);
    void handleHostReply(uint8_t byte, uint32_t now);
    void queueReply(uint32_t due, std::string bytes);
    std::string makeAnswer(uint32_t data);

    Clock& clock_;
    mutable std::mutex mutex_;
    FaultSettings faults_;
    CameraBehaviour camera_;
    CommandFrameParser parser_;
    ReplyQueue replies_;
    std::vector<ReceivedFrame> frames_;
    std::vector<uint8_t> hostReplies_;
    std::function<void(const ReceivedFrame&)> observer_;
    uint32_t lastAnswerData_ = 0;
    bool answerAwaitingReply_ = false;
    int answerResendsLeft_ = 0;
};

}  // namespace zr::sim
