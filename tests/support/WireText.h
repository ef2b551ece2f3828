#pragma once

#include <string>

#include "link/Message.h"
#include "params/CameraParam.h"

namespace zr::test {

// Expected wire texts, computed from a row's fields without the encoder.
inline std::string hex2(int byte) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(byte >> 4) & 0xF], digits[byte & 0xF]};
}

inline std::string expectedWrite(const CameraParam& p, int value) {
    std::string text = hex2(p.writeArea) + hex2(p.address);
    if (p.maxValue > 255) return text + hex2(value / 256) + hex2(value % 256) + "00";
    return text + hex2(value) + "0000";
}

inline std::string expectedRead(const CameraParam& p) {
    return hex2(p.readArea) + hex2(p.address) + "000000";
}

// A look-up table entry's write: channel c, entry i, value v.
inline std::string lutWriteText(int c, int i, int v) {
    return hex2(0x20 + c) + hex2(i) + hex2(v) + "0000";
}

// The 18 bytes the camera must receive for a ten-character text.
inline std::string expectedFrame(const std::string& text) {
    std::string frame =
        "\x02"
        "00FF" +
        text + "\x03";
    unsigned sum = 0;
    for (unsigned char c : frame) sum += c;
    return frame + hex2(~sum & 0xFF);
}

// The camera's register bytes (0xD1D2D3) that hold `value` for row `p`.
inline uint32_t registerBytes(const CameraParam& p, int value) {
    const auto v = static_cast<uint32_t>(value);
    return p.maxValue > 255 ? v << 8 : v << 16;
}

inline const char* const kClosedText = "PORT isn't open.";
inline const char* const kRangeText = "Setting value is out of range";

// Stands for the main panel's window as the owner of messages.
inline const char kPanel = 0;
inline constexpr MsgOwner kPanelOwner = &kPanel;

// A value for the camera to hold in a row that differs from the row's default
// where the range allows, so a read visibly changes the table.
inline int cameraValue(const CameraParam& p) {
    return p.defaultValue != p.maxValue ? p.maxValue : p.minValue;
}

}  // namespace zr::test
