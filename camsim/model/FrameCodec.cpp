#include "model/FrameCodec.h"

#include <cstdio>

namespace zr::sim {

uint8_t frameChecksum(const uint8_t* bytes, size_t count) {
    unsigned sum = 0;
    for (size_t i = 0; i < count; ++i) sum += bytes[i];
    return static_cast<uint8_t>(~sum & 0xFF);
}

std::string hexByte(uint8_t value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

uint8_t hexDigitValue(uint8_t c) {
    return static_cast<uint8_t>((c > 0x40 ? c - 0x37 : c - 0x30) & 0x0F);
}

std::string answerFrame(uint32_t data, uint8_t endByte, uint8_t checksumOffset) {
    std::string frame(1, static_cast<char>(STX));
    frame += hexByte(static_cast<uint8_t>(data >> 16));
    frame += hexByte(static_cast<uint8_t>(data >> 8));
    frame += hexByte(static_cast<uint8_t>(data));
    frame += static_cast<char>(endByte);
    const auto sum = frameChecksum(reinterpret_cast<const uint8_t*>(frame.data()), frame.size());
    frame += hexByte(static_cast<uint8_t>(sum + checksumOffset));
    return frame;
}

std::string commandFrame(const std::string& text) {
    std::string frame(1, static_cast<char>(STX));
    frame += "00FF";
    std::string body = text.substr(0, 10);
    body.resize(10, '0');
    frame += body;
    frame += static_cast<char>(ETX);
    frame += hexByte(frameChecksum(reinterpret_cast<const uint8_t*>(frame.data()), frame.size()));
    return frame;
}

}  // namespace zr::sim
