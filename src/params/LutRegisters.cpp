#include "params/LutRegisters.h"

#include <cstdio>

#include "params/LutCsv.h"

namespace zr {

namespace {
constexpr int kWriteArea = 0x20;  // + channel
constexpr int kReadArea = 0xA0;   // + channel
}  // namespace

std::string lutWriteText(int channel, int index, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X%02X0000", kWriteArea + channel, index, value);
    return text;
}

std::string lutReadText(int channel, int index) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X000000", kReadArea + channel, index);
    return text;
}

std::optional<LutRegister> lutRegister(int area, int address) {
    if (address < 0 || address > 0xFF) return std::nullopt;
    if (area >= kWriteArea && area < kWriteArea + kLutChannels)
        return LutRegister{area - kWriteArea, address, false};
    if (area >= kReadArea && area < kReadArea + kLutChannels)
        return LutRegister{area - kReadArea, address, true};
    return std::nullopt;
}

const char* lutChannelName(int channel) {
    static const char* const kNames[] = {"red", "green", "blue"};
    return channel >= 0 && channel < kLutChannels ? kNames[channel] : "";
}

}  // namespace zr
