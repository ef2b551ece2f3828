#include "params/RegisterText.h"

#include <cstdio>

namespace register_text {

std::string chars(int32_t value) {
    return std::string{static_cast<char>(highByte(value)), static_cast<char>(lowByte(value))};
}

std::string cutAtZero(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

std::string cpuVersion(int32_t first, int32_t second) {
    std::string text{static_cast<char>(highByte(first)), '.', static_cast<char>(lowByte(first))};
    return cutAtZero(text + chars(second));
}

std::string fpgaVersion(int32_t first, int32_t second) {
    return cutAtZero(chars(first) + "." + chars(second));
}

std::string temperature(int32_t tenths) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%2.1f", tenths / 10.0);
    return buffer;
}

std::optional<std::array<int32_t, 4>> serialRegisters(std::string_view utf8) {
    // Each character becomes one byte of a register. A character outside
    // printable ASCII is several bytes in UTF-8 and has no one-byte form the
    // camera could show, so it makes the serial number invalid rather than
    // being split across two register halves.
    if (utf8.size() != 8) return std::nullopt;
    std::array<int32_t, 4> registers{};
    for (size_t i = 0; i < 8; ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x20 || c > 0x7E) return std::nullopt;
        registers[i / 2] = (i % 2 == 0) ? c * 256 : registers[i / 2] + c;
    }
    return registers;
}

}  // namespace register_text
