#pragma once

#include <optional>
#include <string>

namespace zr {

// The camera's look-up table registers: channel c (0 red, 1 green, 2 blue)
// lives in write area 0x20 + c, read area 0xA0 + c, one register per entry
// index; the entry is the first data byte. Index and value are 0..255.

// "%02X%02X%02X0000": sets entry `index` of `channel` to `value`.
std::string lutWriteText(int channel, int index, int value);

// "%02X%02X000000": asks for entry `index` of `channel`.
std::string lutReadText(int channel, int index);

// The entry a command's area and address name, for the link trace.
struct LutRegister {
    int channel;
    int index;
    bool read;
};
std::optional<LutRegister> lutRegister(int area, int address);

// "red", "green" or "blue".
const char* lutChannelName(int channel);

}  // namespace zr
