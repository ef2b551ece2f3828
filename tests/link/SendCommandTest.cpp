#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedLinkTest.h"
#include "link/FrameCodec.h"

namespace zr::test {
namespace {

const std::string kCharError = "Character error.";
const std::string kLengthError = "Command Length error.";

using SendCommandClosed = ScriptedLinkTest;

TEST_F(SendCommandClosed, RefusedWithPortErrorEvenForAnEmptyText) {
    for (const char* text : {"0108050000", ""}) {
        sink.clear();
        EXPECT_EQ(link.SendCommand(text), 1);
        const auto shown = sink.messages();
        ASSERT_EQ(shown.size(), 1u) << text;
        EXPECT_EQ(shown[0].message.text, "PORT isn't open.");
        EXPECT_EQ(shown[0].message.caption, "Port ERROR");
        EXPECT_EQ(shown[0].message.icon, MsgIcon::Error);
        EXPECT_EQ(shown[0].message.owner, nullptr);
        EXPECT_FALSE(shown[0].message.systemModal);
        EXPECT_FALSE(link.framePending());
    }
}

struct SentTextCase {
    std::string text;
    int result;
    std::vector<std::string> messages;
    std::string framed;  // the 10 command characters on the wire when accepted
    bool answerExpected;
};

class SendCommandText : public ScriptedLinkTest,
                        public ::testing::WithParamInterface<SentTextCase> {};

TEST_P(SendCommandText, ValidatesFramesAndReports) {
    const SentTextCase& c = GetParam();
    port.respond(ackingCamera(answerFrame("000000")));
    ASSERT_TRUE(open());
    EXPECT_EQ(link.SendCommand(c.text), c.result);
    EXPECT_EQ(sink.texts(), c.messages);
    for (const auto& r : sink.messages()) {
        EXPECT_EQ(r.message.caption, "Command ERROR");
        EXPECT_EQ(r.message.icon, MsgIcon::Error);
        EXPECT_EQ(r.message.owner, nullptr);
    }
    EXPECT_EQ(link.answerExpected(), c.answerExpected);
    if (c.result != 0) {
        EXPECT_FALSE(link.framePending());
        ASSERT_TRUE(eventually([&] { return port.readCount() > 5; }));
        EXPECT_TRUE(port.frameWrites().empty());
        return;
    }
    const auto expected = buildCommandFrame(c.framed);
    EXPECT_EQ(link.commandFrame(), expected);
    ASSERT_TRUE(eventually([&] { return port.frameWrites().size() == 1; }));
    EXPECT_EQ(port.frameWrites()[0], Bytes(expected.begin(), expected.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SendCommandText,
    ::testing::Values(SentTextCase{"1234", 0, {}, "1234000000", false},
                      SentTextCase{"abcd", 0, {}, "ABCD000000", true},
                      SentTextCase{"0123456789", 0, {}, "0123456789", false},
                      SentTextCase{"0108050000FF", 0, {}, "0108050000", false},
                      SentTextCase{"01:;<=>?@0", 0, {}, "01:;<=>?@0", false},
                      SentTextCase{"8000", 0, {}, "8000000000", true},
                      SentTextCase{std::string(255, 'F'), 0, {}, "FFFFFFFFFF", true},
                      SentTextCase{"", 1, {}, "", false},
                      SentTextCase{"012G", 1, {kCharError}, "", false},
                      SentTextCase{"G12H", 1, {kCharError, kCharError}, "", false},
                      SentTextCase{"G1", 1, {kCharError}, "", false},
                      SentTextCase{"01\x80"
                                   "0",
                                   1,
                                   {kCharError},
                                   "",
                                   false},
                      SentTextCase{"01\xC3\xA9"
                                   "00",
                                   1,
                                   {kCharError},
                                   "",
                                   false},
                      SentTextCase{"123", 1, {kLengthError}, "", false},
                      // The answer rule is applied before the length check.
                      SentTextCase{"800", 1, {kLengthError}, "", true},
                      SentTextCase{std::string(256, '1'), 1, {kLengthError}, "", false},
                      SentTextCase{std::string(256, '1') + "G", 1, {kLengthError}, "", false}));

using SendCommandOpen = ScriptedLinkTest;

TEST_F(SendCommandOpen, RefusedTextsChangeNothing) {
    port.respond(ackingCamera(answerFrame("000000")));
    ASSERT_TRUE(open());
    ASSERT_EQ(link.SendCommand("0108050000"), 0);
    EXPECT_EQ(waitFor(LS_ACK) & LS_ACK, LS_ACK);
    ASSERT_TRUE(eventually([&] { return idle(); }));
    const auto frame = link.commandFrame();
    EXPECT_EQ(link.SendCommand("XYZ0"), 1);
    EXPECT_EQ(link.SendCommand("12"), 1);
    EXPECT_EQ(link.SendCommand(""), 1);
    EXPECT_EQ(sink.texts(),
              (std::vector<std::string>{kCharError, kCharError, kCharError, kLengthError}));
    EXPECT_EQ(link.commandFrame(), frame);
    EXPECT_TRUE(idle());
    const size_t reads = port.readCount();
    ASSERT_TRUE(eventually([&] { return port.readCount() > reads + 20; }));
    EXPECT_EQ(port.frameWrites().size(), 1u);
}

}  // namespace
}  // namespace zr::test
