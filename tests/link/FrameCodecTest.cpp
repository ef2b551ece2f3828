#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ScriptedPort.h"
#include "link/AnswerParser.h"
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

// The answer side, byte by byte. Pieces are fed in turn, an empty piece drops
// a frame cut off (as the link does at a time-out or before its next frame);
// the ACK stays awaited until an ACK or NAK comes, as on the link. Events:
// A for ACK, N for NAK, + or - (checksum good or bad) with the decoded bytes.
struct ParserCase {
    const char* name;
    bool ackAwaited;
    std::vector<Bytes> pieces;
    std::string events;
    int position;
    bool inFrame;
};

Bytes withParserChecksum(Bytes frame) {
    unsigned sum = 0;
    for (uint8_t b : frame) sum += b;
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", ~sum & 0xFF);
    frame.push_back(static_cast<uint8_t>(digits[0]));
    frame.push_back(static_cast<uint8_t>(digits[1]));
    return frame;
}

std::string parserEvents(AnswerParser& parser, bool ackAwaited, const std::vector<Bytes>& pieces) {
    std::string events;
    for (const Bytes& piece : pieces) {
        if (piece.empty()) parser.reset();
        for (uint8_t byte : piece) {
            const AnswerEvent e = parser.feed(byte, ackAwaited);
            if (e.kind == AnswerEvent::Kind::None) continue;
            if (!events.empty()) events += ' ';
            if (e.kind == AnswerEvent::Kind::Ack || e.kind == AnswerEvent::Kind::Nak) {
                ackAwaited = false;
                events += e.kind == AnswerEvent::Kind::Ack ? 'A' : 'N';
                continue;
            }
            char text[8];
            std::snprintf(text, sizeof text, "%c%02X%02X%02X", e.checksumGood ? '+' : '-',
                          e.bytes[0], e.bytes[1], e.bytes[2]);
            events += text;
        }
    }
    return events;
}

TEST(AnswerParser, EventsOfByteStreams) {
    using test::answerFrame;
    using test::kBad;
    using test::kGood;
    const Bytes head(kGood.begin(), kGood.begin() + 5);  // STX 1 2 A B
    const Bytes late = answerFrame("111111");
    Bytes lateThenAck = late;
    lateThenAck.push_back(0x06);
    Bytes ackThenGood{0x06};
    ackThenGood.insert(ackThenGood.end(), kGood.begin(), kGood.end());
    const ParserCase cases[] = {
        {"good answer", false, {kGood}, "+12AB00", 9, false},
        {"split at every byte",
         false,
         {{0x02}, {'1'}, {'2', 'A'}, {'B', '0', '0', 0x03, 'B'}, {'4'}},
         "+12AB00",
         9,
         false},
        {"ACK and answer in one read", true, {ackThenGood}, "A +12AB00", 9, false},
        {"NAK ends the wait for the ACK", true, {{0x15}, kGood}, "N +12AB00", 9, false},
        {"late answer before the ACK", true, {late, {0x06}, kGood}, "A +12AB00", 9, false},
        {"late answer and ACK in one read", true, {lateThenAck, kGood}, "A +12AB00", 9, false},
        {"STX while the ACK is awaited", true, {{0x02}}, "", 0, false},
        {"bad checksum, then a good copy", false, {kBad, kGood}, "-12AB00 +12AB00", 9, false},
        {"noise outside frames",
         false,
         {{'x', 0x03, 0x41, 0xFF, 0x00}, kGood, {'y'}},
         "+12AB00",
         9,
         false},
        {"ACK, NAK and STX inside a frame are data",
         false,
         {withParserChecksum({0x02, 0x06, 0x15, 0x02, '0', '0', '0', 0x03})},
         "+452000",
         9,
         false},
        {"end byte summed, not tested",
         false,
         {withParserChecksum({0x02, '1', '2', 'A', 'B', '0', '0', 0x7E})},
         "+12AB00",
         9,
         false},
        {"lower case by the unchecked rule", false, {answerFrame("1a0000")}, "+3A0000", 9, false},
        {"half a frame waits", false, {head}, "", 4, true},
        {"cut-off frame dropped", false, {head, {}, kGood}, "+12AB00", 9, false},
        {"cut-off frame kept runs into the next", false, {head, kGood}, "-12AB21", 9, false},
        {"reset outside a frame", false, {kGood, {}}, "+12AB00", 0, false},
    };
    for (const ParserCase& c : cases) {
        AnswerParser parser;
        EXPECT_EQ(parserEvents(parser, c.ackAwaited, c.pieces), c.events) << c.name;
        EXPECT_EQ(parser.position(), c.position) << c.name;
        EXPECT_EQ(parser.inFrame(), c.inFrame) << c.name;
    }
}

}  // namespace
}  // namespace zr
