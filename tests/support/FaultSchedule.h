#pragma once

#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "model/CameraModel.h"

namespace zr::test {

// One misbehaviour of the simulated camera, applied to one received frame.
enum class Fault {
    None,
    DropAck,           // no reply, no effect: the frame is lost
    Nak,               // NAK, the command is not carried out
    CorruptAnswer,     // the answer frame's checksum is wrong (resent on NAK)
    CutOff,            // the answer frame stops after the STX and two bytes
    Split,             // replies come in small pieces
    Merge,             // ACK and answer frame in one read
    Garbage,           // stray bytes before each reply
    AckDelayUnder,     // ACK 990 ms late: inside the ACK time-out
    AckDelayOver,      // ACK 1010 ms late: after the first resend
    AnswerDelayUnder,  // answer 2990 ms after the ACK: inside the answer time-out
    AnswerDelayOver,   // answer 3010 ms after the ACK: after the answer time-out
};

const char* faultName(Fault fault);
// Whether the camera acts on a frame with this fault.
bool carriesOut(Fault fault);

// A frame as the camera received it, with the fault it met.
struct FrameRecord {
    uint32_t tick = 0;
    std::string text;
    Fault fault = Fault::None;
};

// Which faults a schedule picks, each with its weight, and what a rate is
// counted out of (100: percent, 1000: per mille).
struct FaultMix {
    int outOf = 100;
    std::vector<std::pair<Fault, int>> weights;
};

// Picks a fault for every frame the camera receives, from a seeded random
// sequence, through the camera's frame observer. A frame that is answered
// after its resend (AckDelayOver) gets a plain resend, so no late reply can
// overtake a later exchange's replies. Used by the fault runs and the soak.
class FaultSchedule {
  public:
    FaultSchedule(sim::CameraModel& camera, uint32_t seed, FaultMix mix);
    ~FaultSchedule();
    FaultSchedule(const FaultSchedule&) = delete;
    FaultSchedule& operator=(const FaultSchedule&) = delete;

    // Chance out of the mix's `outOf` that a frame meets a fault; 0 turns
    // faults off from the next frame on.
    void setRate(int percent);
    // The frames received since the last call, in order.
    std::vector<FrameRecord> takeRecords();
    // Tick of the last frame received (0 before the first).
    uint32_t lastFrameTick();

  private:
    void onFrame(const sim::ReceivedFrame& frame);
    Fault pick();
    void arm(Fault fault);

    sim::CameraModel& camera_;
    std::mutex mutex_;
    std::mt19937 random_;
    const FaultMix mix_;
    int rate_ = 0;
    Fault armed_ = Fault::None;
    std::vector<FrameRecord> records_;
    uint32_t lastFrameTick_ = 0;
};

}  // namespace zr::test
