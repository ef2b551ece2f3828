#include "tools/ManualCommandForm.h"

#include <cstdint>
#include <cstdio>

namespace zr::tools {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

// Bytes taken by the UTF-8 character at the front of a non-empty text.
size_t firstCharacterBytes(std::string_view text) {
    size_t n = 1;
    if (static_cast<uint8_t>(text[0]) >= 0xC0) {
        while (n < text.size() && (static_cast<uint8_t>(text[n]) & 0xC0) == 0x80) ++n;
    }
    return n;
}

}  // namespace

std::string readFormOf(std::string_view text) {
    const int digit = text.empty() ? 0 : hexDigit(text[0]);
    char first[4];
    std::snprintf(first, sizeof first, "%X", digit | 8);
    std::string form = first;
    if (!text.empty()) form += text.substr(firstCharacterBytes(text));
    return form;
}

std::string answerText(const AnswerBytes& answer) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", answer[0], answer[1], answer[2]);
    return text;
}

}  // namespace zr::tools
