#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zr::sim {

// How the simulated camera misbehaves on the line. All off by default: the
// camera then replies to every good frame with ACK (and an answer frame for a
// read), each reply readable on its own.
struct FaultSettings {
    bool silent = false;       // no reply at all to any frame
    bool nakCommands = false;  // NAK every frame instead of ACK; the command is not carried out
    int nakNextFrames = 0;     // the same for the next N frames only
    int dropNextAcks = 0;      // the next N frames get no reply and no effect, as if lost

    int corruptNextAnswers = 0;      // the next N answer frames carry a wrong checksum
    bool corruptAllAnswers = false;  // every answer frame carries a wrong checksum
    int cutNextAnswers = 0;          // the next N answer frames stop after the STX and two bytes
    uint8_t answerEndByte = 0x03;    // the byte after the answer data

    // Each reply is cut into reads of these sizes in turn; what is left over
    // comes in one last read. Empty: a reply is read in one piece.
    std::vector<size_t> splitSizes;
    bool mergeAckAndAnswer = false;  // ACK and answer frame in one read
    std::string garbage;             // bytes sent before every reply

    uint32_t ackDelayMs = 0;     // from the frame's last byte to the ACK
    uint32_t answerDelayMs = 0;  // from the ACK to the answer frame

    bool resendAnswerOnNak = true;  // a NAK from the host repeats the answer frame
    int maxAnswerResends = 2;       // per answer

    // Line speed for byte pacing, 10 bits per byte; 0 = no pacing. Used by
    // the pseudo-terminal program, which owns the line.
    uint32_t paceBaud = 0;
};

}  // namespace zr::sim
