#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/FrameCodec.h"

namespace zr {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes frameOf(std::string_view upper) {
    const CommandFrameBytes f = buildCommandFrame(upper);
    return Bytes(f.begin(), f.end());
}

TEST(FrameCodec, FourCharacterTextIsPaddedWithSixZerosAndChecksum24) {
    const Bytes expected{0x02, 0x30, 0x30, 0x46, 0x46, 0x31, 0x32, 0x33, 0x34,
                         0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x03, 0x32, 0x34};
    EXPECT_EQ(frameOf("1234"), expected);
}

TEST(FrameCodec, TenCharacterTextChecksumIs01) {
    const Bytes f = frameOf("0123456789");
    EXPECT_EQ(std::string(f.begin() + 5, f.begin() + 15), "0123456789");
    EXPECT_EQ(f[16], '0');
    EXPECT_EQ(f[17], '1');
}

TEST(FrameCodec, OnlyTheFirstTenCharactersAreFramed) {
    const Bytes f = frameOf("0108050000FF");
    EXPECT_EQ(std::string(f.begin() + 5, f.begin() + 15), "0108050000");
    EXPECT_EQ(f[15], 0x03);
}

TEST(FrameCodec, ChecksumIsTheComplementOfTheSumAsTwoUpperCaseDigits) {
    // Every frame's own checksum, recomputed independently of the builder.
    for (const char* text : {"0108050000", "FFFFFFFFFF", "8000000000", "@@@@", "::::::::::"}) {
        const Bytes f = frameOf(text);
        unsigned sum = 0;
        for (int i = 0; i < 16; ++i) sum += f[i];
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", ~sum & 0xFF);
        EXPECT_EQ(f[16], digits[0]) << text;
        EXPECT_EQ(f[17], digits[1]) << text;
    }
}

TEST(FrameCodec, FrameChecksumOfKnownBytes) {
    const uint8_t answer[] = {0x02, '1', '2', 'A', 'B', '0', '0', 0x03};
    EXPECT_EQ(frameChecksum(answer, sizeof answer), 0xB4);
    EXPECT_EQ(frameChecksum(nullptr, 0), 0xFF);
}

TEST(FrameCodec, HexDigitValueFollowsTheUncheckedRule) {
    struct Case {
        uint8_t c;
        uint8_t value;
    };
    const Case cases[] = {
        {'0', 0},  {'9', 9},     {'A', 10},
        {'F', 15}, {':', 10},    {'@', 16},  // 0x40 is not above 0x40: code minus 0x30
        {'a', 42},                           // lower case does not decode to 10
        {'G', 16}, {0x00, 0xD0},             // wraps in 8 bits
    };
    for (const Case& c : cases) EXPECT_EQ(hexDigitValue(c.c), c.value) << int(c.c);
}

TEST(FrameCodec, CommandCharactersAreZeroToCapitalFComparedSigned) {
    for (int b = 0; b < 256; ++b) {
        const bool expected = b >= 0x30 && b <= 0x46;
        EXPECT_EQ(isCommandCharacter(static_cast<char>(b)), expected) << b;
    }
}

TEST(FrameCodec, AnswerExpectedIsBitThreeOfTheFirstDigit) {
    for (char c : std::string("01234567:;<=>?@")) EXPECT_FALSE(expectsAnswer(c)) << c;
    for (char c : std::string("89ABCDEF")) EXPECT_TRUE(expectsAnswer(c)) << c;
}

struct TextCase {
    std::string text;
    size_t length;
    int bad;
};

class CommandTextScan : public ::testing::TestWithParam<TextCase> {};

TEST_P(CommandTextScan, LengthAndBadCharacters) {
    const auto check = checkCommandText(GetParam().text);
    EXPECT_EQ(check.length, GetParam().length);
    EXPECT_EQ(check.badCharacters, GetParam().bad);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CommandTextScan,
    ::testing::Values(TextCase{"1234", 4, 0}, TextCase{"abcd", 4, 0}, TextCase{"01:8", 4, 0},
                      TextCase{"012G", 4, 1}, TextCase{"G12H", 4, 2}, TextCase{"0 12", 4, 1},
                      TextCase{"g", 1, 1},
                      TextCase{std::string("01\0"
                                           "2",
                                           4),
                               4, 1},
                      TextCase{"0\x80"
                               "12",
                               4, 1},
                      TextCase{"0\xff"
                               "12",
                               4, 1},
                      // One character typed, two bytes in UTF-8: one complaint.
                      TextCase{"01\xC3\xA9"
                               "2",
                               5, 1},
                      // Two Latin-1 bytes are two characters.
                      TextCase{"0\xE9\xE9", 3, 2},
                      // A stray continuation byte after a good character counts.
                      TextCase{"0\xA9\xA9", 3, 2}, TextCase{std::string(255, '1'), 255, 0},
                      TextCase{std::string(256, '1'), 0, 0},
                      // Bytes past position 255 are never examined.
                      TextCase{std::string(256, '1') + "G", 0, 0},
                      TextCase{std::string(255, '1') + "G", 0, 1}));

TEST(FrameCodec, ScanUpperCasesTheText) {
    EXPECT_EQ(checkCommandText("abcdef0189").upper, "ABCDEF0189");
    EXPECT_EQ(checkCommandText(std::string(300, 'a')).upper.size(), 256u);
}

}  // namespace
}  // namespace zr
