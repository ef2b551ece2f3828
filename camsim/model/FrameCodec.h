#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zr::sim {

// The camera's side of the framing, written apart from the link's codec on
// purpose: the simulated camera is the oracle the link is tested against, so
// a fault in the link's checksum or framing must not be copied into it.
inline constexpr uint8_t STX = 0x02;
inline constexpr uint8_t ETX = 0x03;
inline constexpr uint8_t ACK = 0x06;
inline constexpr uint8_t NAK = 0x15;
inline constexpr size_t kCommandFrameSize = 18;
inline constexpr size_t kAnswerFrameSize = 10;

// The line's checksum: the complement of the byte sum, low 8 bits.
uint8_t frameChecksum(const uint8_t* bytes, size_t count);
// Two upper-case hexadecimal digits.
std::string hexByte(uint8_t value);
// A hexadecimal character's value by the camera's lenient rule (no check).
uint8_t hexDigitValue(uint8_t c);
// STX, six digits of the 3 data bytes (0xD1D2D3), the end byte, checksum;
// `checksumOffset` is added to the right checksum to make it wrong on purpose.
std::string answerFrame(uint32_t data, uint8_t endByte, uint8_t checksumOffset = 0);
// A command frame around a command text, as the host builds it (for tests and tools).
std::string commandFrame(const std::string& text);

}  // namespace zr::sim
