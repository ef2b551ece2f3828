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

}  // namespace zr
