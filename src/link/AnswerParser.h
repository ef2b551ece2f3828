#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "link/LinkStatus.h"

namespace zr {

// The three data bytes of one answer frame.
using AnswerBytes = std::array<uint8_t, 3>;

// What one received byte completed.
struct AnswerEvent {
    enum class Kind { None, Ack, Nak, Answer };
    Kind kind = Kind::None;
    // Answer only: whether the frame's checksum matched, and its three bytes
    // decoded by the unchecked hexadecimal rule (meaningful when it matched).
    bool checksumGood = false;
    AnswerBytes bytes{};
};

// The camera's side of the byte stream, one byte at a time: ACK and NAK
// between frames, and answer frames of STX, seven characters (six data digits
// and the end byte) and two checksum digits. Pure: it neither reads, writes
// nor keeps any status beyond the frame it is in.
class AnswerParser {
  public:
    // `ackAwaited`: the exchange's ACK has not come yet. The camera answers
    // only after its ACK, so an STX then starts a late answer to an earlier
    // read, which is not taken.
    AnswerEvent feed(uint8_t byte, bool ackAwaited);
    // Forgets a frame begun but never finished.
    void reset();

    bool inFrame() const { return inFrame_; }
    // Characters of the current frame received after its STX: 0 to 8 inside a
    // frame, 9 once a frame has completed, 0 after reset.
    int position() const { return pos_; }

  private:
    AnswerEvent complete();

    bool inFrame_ = false;
    int pos_ = 0;
    // STX, the seven characters and the two checksum digits as received.
    std::array<uint8_t, kAnswerFrameSize> frame_{};
};

}  // namespace zr
