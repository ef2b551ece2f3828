#include "link/AnswerParser.h"

#include "link/FrameCodec.h"
#include "link/LinkStatus.h"

namespace zr {

namespace {

constexpr int kAnswerSummedBytes = 8;   // STX and the seven characters
constexpr int kAnswerLastPosition = 9;  // after the second checksum digit

}  // namespace

AnswerEvent AnswerParser::feed(uint8_t byte, bool ackAwaited) {
    AnswerEvent event;
    if (!inFrame_) {
        if (byte == ACK) {
            event.kind = AnswerEvent::Kind::Ack;
        } else if (byte == NAK) {
            event.kind = AnswerEvent::Kind::Nak;
        } else if (byte == STX && !ackAwaited) {
            inFrame_ = true;
            pos_ = 0;
            frame_[0] = STX;
        }
        return event;
    }
    // Inside a frame every byte is frame content, ACK and STX included.
    frame_[1 + pos_] = byte;
    ++pos_;
    if (pos_ < kAnswerLastPosition) return event;
    return complete();
}

AnswerEvent AnswerParser::complete() {
    inFrame_ = false;
    AnswerEvent event;
    event.kind = AnswerEvent::Kind::Answer;
    // The end byte is summed but not tested; the checksum digits follow the
    // same unchecked rule as the data digits.
    const auto received = static_cast<uint8_t>(hexDigitValue(frame_[kAnswerSummedBytes]) * 16 +
                                               hexDigitValue(frame_[kAnswerSummedBytes + 1]));
    event.checksumGood = received == frameChecksum(frame_.data(), kAnswerSummedBytes);
    event.bytes = DecodeAnswer(frame_.data() + 1);
    return event;
}

void AnswerParser::reset() {
    inFrame_ = false;
    pos_ = 0;
}

}  // namespace zr
