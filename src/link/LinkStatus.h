#pragma once

#include <cstdint>

namespace zr {

// Bits of the link's status word. The link only adds bits; callers clear them.
enum LinkStatusBits : uint32_t {
    LS_ANSWER_OK = 0x1,
    LS_ACK = 0x2,
    LS_RX = 0x80,
    LS_ANSWER_DONE = 0x8000,
    LS_ACK_TIMEOUT = 0x10000,
    LS_ANSWER_TIMEOUT = 0x20000,
};

inline constexpr uint8_t STX = 0x02;
inline constexpr uint8_t ETX = 0x03;
inline constexpr uint8_t ACK = 0x06;
inline constexpr uint8_t NAK = 0x15;

inline constexpr int kCommandFrameSize = 18;
inline constexpr int kAnswerFrameSize = 10;
inline constexpr uint32_t kAckTimeoutMs = 1000;
inline constexpr uint32_t kAnswerTimeoutMs = 3000;
inline constexpr int kResends = 2;

}  // namespace zr
