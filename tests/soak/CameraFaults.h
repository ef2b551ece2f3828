#pragma once

#include <cstdint>
#include <mutex>
#include <random>
#include <string>

#include "model/CameraModel.h"

namespace zr::test {

// The camera's misbehaviour, one fault per received frame, from a seeded
// random sequence (through the camera's frame observer).
enum class CameraFault {
    None,
    Silence,      // no reply, no effect
    Nak,          // NAK, not carried out
    Corrupt,      // the answer frame's checksum is wrong
    CutOff,       // the answer frame stops after the STX and two bytes
    Split,        // replies in small pieces
    Merge,        // ACK and answer frame in one read
    Garbage,      // stray bytes before each reply
    AckUnder,     // ACK 990 ms late
    AckOver,      // ACK 1010 ms late: after the first resend
    AnswerUnder,  // answer 2990 ms after the ACK
    AnswerOver,   // answer 3010 ms after the ACK: after the answer time-out
};

const char* cameraFaultName(CameraFault fault);

class CameraFaults {
  public:
    CameraFaults(sim::CameraModel& camera, uint32_t seed);
    ~CameraFaults();
    CameraFaults(const CameraFaults&) = delete;
    CameraFaults& operator=(const CameraFaults&) = delete;

    // Chance in per mille that a frame meets a fault; timing faults (which
    // cost virtual seconds) come at a tenth of the others' weight.
    void setRate(int perMille);
    // Faults met since the last call, as "name:count" pairs.
    std::string takeSummary();

  private:
    void onFrame(const sim::ReceivedFrame& frame);
    CameraFault pick();
    void arm(CameraFault fault);

    sim::CameraModel& camera_;
    std::mutex mutex_;
    std::mt19937 random_;
    int rate_ = 0;
    CameraFault armed_ = CameraFault::None;
    int met_[12] = {};
};

}  // namespace zr::test
