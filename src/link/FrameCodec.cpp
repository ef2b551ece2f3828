#include "link/FrameCodec.h"

#include "link/LinkStatus.h"

namespace zr {

namespace {

constexpr size_t kTextPositions = 256;
constexpr size_t kCommandChars = 10;

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isUtf8Continuation(char c) {
    return (static_cast<uint8_t>(c) & 0xC0) == 0x80;
}

char hexDigitChar(unsigned v) {
    return static_cast<char>(v < 10 ? '0' + v : 'A' + v - 10);
}

}  // namespace

uint8_t frameChecksum(const uint8_t* bytes, size_t count) {
    unsigned sum = 0;
    for (size_t i = 0; i < count; ++i) sum += bytes[i];
    return static_cast<uint8_t>(~sum & 0xFF);
}

uint8_t hexDigitValue(uint8_t c) {
    return static_cast<uint8_t>(c > 0x40 ? c - 0x37 : c - 0x30);
}

std::array<uint8_t, 3> DecodeAnswer(const uint8_t* sixDigits) {
    std::array<uint8_t, 3> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(hexDigitValue(sixDigits[2 * i]) * 16 +
                                        hexDigitValue(sixDigits[2 * i + 1]));
    }
    return bytes;
}

bool isCommandCharacter(char c) {
    const auto s = static_cast<int8_t>(c);
    return s >= 0x30 && s <= 0x46;
}

bool expectsAnswer(char first) {
    int value = 0;
    if (first >= '0' && first <= '9') {
        value = first - '0';
    } else if (first >= 'A' && first <= 'F') {
        value = first - 'A' + 10;
    } else if (first >= 'a' && first <= 'f') {
        value = first - 'a' + 10;
    }
    return (value & 0x8) != 0;
}

CommandTextCheck checkCommandText(std::string_view text) {
    CommandTextCheck check;
    const size_t scanned = text.size() < kTextPositions ? text.size() : kTextPositions;
    check.upper.reserve(scanned);
    bool inMultiByte = false;
    for (size_t i = 0; i < kTextPositions; ++i) {
        if (i == text.size()) {
            check.length = i;
            break;
        }
        const char c = upperAscii(text[i]);
        check.upper.push_back(c);
        if (isCommandCharacter(c)) {
            inMultiByte = false;
            continue;
        }
        // The tail bytes of a multi-byte character belong to the character
        // already counted.
        if (inMultiByte && isUtf8Continuation(c)) continue;
        ++check.badCharacters;
        inMultiByte = static_cast<uint8_t>(c) >= 0xC0;
    }
    return check;
}

CommandFrameBytes buildCommandFrame(std::string_view upper) {
    CommandFrameBytes frame{};
    frame[0] = STX;
    frame[1] = '0';
    frame[2] = '0';
    frame[3] = 'F';
    frame[4] = 'F';
    for (size_t i = 0; i < kCommandChars; ++i) {
        frame[5 + i] = i < upper.size() ? static_cast<uint8_t>(upper[i]) : '0';
    }
    frame[15] = ETX;
    const uint8_t sum = frameChecksum(frame.data(), 16);
    frame[16] = static_cast<uint8_t>(hexDigitChar(sum >> 4));
    frame[17] = static_cast<uint8_t>(hexDigitChar(sum & 0xF));
    return frame;
}

}  // namespace zr
