#include <gtest/gtest.h>

#include "model/SimOptions.h"

using namespace zr::sim;

namespace {

SimOptions parse(const std::string& line, std::vector<std::string>* rest = nullptr,
                 std::string* error = nullptr) {
    SimOptions options;
    std::vector<std::string> left;
    std::string message;
    const bool ok = parseSimOptions(splitWords(line), options, left, message);
    if (rest) *rest = left;
    if (error) *error = message;
    EXPECT_TRUE(ok || error) << message;
    return options;
}

TEST(SimOptions, FaultOptions) {
    const auto o = parse(
        "--silent --nak --nak-next 2 --drop-acks=3 --corrupt once --split 3,4 --merge "
        "--garbage 41FF --ack-delay 5 --delay 3500 --pace 9600 --no-resend --end-byte 0x04");
    EXPECT_TRUE(o.faults.silent);
    EXPECT_TRUE(o.faults.nakCommands);
    EXPECT_EQ(o.faults.nakNextFrames, 2);
    EXPECT_EQ(o.faults.dropNextAcks, 3);
    EXPECT_EQ(o.faults.corruptNextAnswers, 1);
    EXPECT_EQ(o.faults.splitSizes, (std::vector<size_t>{3, 4}));
    EXPECT_TRUE(o.faults.mergeAckAndAnswer);
    EXPECT_EQ(o.faults.garbage, "\x41\xFF");
    EXPECT_EQ(o.faults.ackDelayMs, 5u);
    EXPECT_EQ(o.faults.answerDelayMs, 3500u);
    EXPECT_EQ(o.faults.paceBaud, 9600u);
    EXPECT_FALSE(o.faults.resendAnswerOnNak);
    EXPECT_EQ(o.faults.answerEndByte, 4);
    EXPECT_TRUE(parse("--corrupt always").faults.corruptAllAnswers);
}

TEST(SimOptions, BehaviourOptions) {
    const auto o = parse(
        "--detect-polls 5 --detect-result 2 --spots red:12/345,100/200 --spots blue:64 "
        "--agc-polls 1 --agc-result 3 --agc-gains 1,2,256 --adjust-needs-key --vendor ACME "
        "--serial ABCD1234 --temperature 412");
    EXPECT_EQ(o.behaviour.detectPolls, 5);
    EXPECT_EQ(o.behaviour.detectResult, 2);
    ASSERT_EQ(o.behaviour.detectedSpots[0].size(), 2u);
    EXPECT_EQ(o.behaviour.detectedSpots[0][1].x, 100);
    EXPECT_EQ(o.behaviour.detectedSpots[0][1].y, 200);
    EXPECT_TRUE(o.behaviour.detectedSpots[1].empty());
    EXPECT_EQ(o.behaviour.detectedSpots[2].size(), 64u);
    EXPECT_EQ(o.behaviour.agcGains, (std::array<int, 3>{1, 2, 256}));
    EXPECT_TRUE(o.behaviour.adjustNeedsKey);
    EXPECT_EQ(o.behaviour.vendor, "ACME");
    EXPECT_EQ(o.behaviour.serialNumber, "ABCD1234");
    EXPECT_EQ(o.behaviour.temperatureTenths, 412);
}

TEST(SimOptions, OtherArgumentsArePassedOnInOrder) {
    std::vector<std::string> rest;
    parse("/tmp/ports --nak 3 --log x", &rest);
    EXPECT_EQ(rest, (std::vector<std::string>{"/tmp/ports", "3", "--log", "x"}));
}

TEST(SimOptions, BadValuesAreReported) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--delay", "missing value for --delay"},
        {"--delay -1", "invalid value for --delay: '-1'"},
        {"--delay 12ms", "invalid value for --delay: '12ms'"},
        {"--garbage 4", "invalid value for --garbage: '4'"},
        {"--split 3,,4", "invalid value for --split: '3,,4'"},
        {"--spots purple:1", "invalid value for --spots: 'purple:1'"},
        {"--spots red:65", "invalid value for --spots: 'red:65'"},
        {"--agc-gains 1,2", "invalid value for --agc-gains: '1,2'"},
        {"--corrupt sometimes", "invalid value for --corrupt: 'sometimes'"},
    };
    for (const auto& [line, expected] : cases) {
        std::string error;
        SimOptions options;
        std::vector<std::string> rest;
        EXPECT_FALSE(parseSimOptions(splitWords(line), options, rest, error)) << line;
        EXPECT_EQ(error, expected);
    }
}

}  // namespace
