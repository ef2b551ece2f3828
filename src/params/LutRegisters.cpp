#include "params/LutRegisters.h"

#include <cstdio>

namespace zr {

std::string lutWriteText(int channel, int index, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X%02X0000", 0x20 + channel, index, value);
    return text;
}

std::string lutReadText(int channel, int index) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X000000", 0xA0 + channel, index);
    return text;
}

std::optional<LutRegister> lutRegister(int area, int address) {
    if (address < 0 || address > 0xFF) return std::nullopt;
    if (area >= 0x20 && area < 0x23) return LutRegister{area - 0x20, address, false};
    if (area >= 0xA0 && area < 0xA3) return LutRegister{area - 0xA0, address, true};
    return std::nullopt;
}

const char* lutChannelName(int channel) {
    static const char* const kNames[] = {"red", "green", "blue"};
    return channel >= 0 && channel < 3 ? kNames[channel] : "";
}

}  // namespace zr
