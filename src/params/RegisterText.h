#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How the camera's text and number registers become the texts the adjustment
// window, its log and the library show. Text registers hold two 8-bit characters, the high
// byte first; a zero byte ends the text as it would end a C string.
namespace register_text {

inline uint8_t highByte(int32_t value) {
    return static_cast<uint8_t>((value >> 8) & 0xFF);
}
inline uint8_t lowByte(int32_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

// "%c%c": both characters of a register, zero bytes included.
std::string chars(int32_t value);
// The text up to its first zero byte.
std::string cutAtZero(std::string_view text);

// CPU version "%c.%c" + "%c%c" and FPGA version "%c%c." + "%c%c", cut at the first zero byte.
std::string cpuVersion(int32_t first, int32_t second);
std::string fpgaVersion(int32_t first, int32_t second);

// Temperature register in tenths of a degree, "%2.1f" of the value / 10.
std::string temperature(int32_t tenths);

// The four register values of an 8-character serial number, or nothing when
// the text is not exactly 8 characters that each fit one byte (printable
// ASCII). `text` is UTF-8.
std::optional<std::array<int32_t, 4>> serialRegisters(std::string_view utf8);

}  // namespace register_text
