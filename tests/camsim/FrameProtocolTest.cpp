#include <gtest/gtest.h>

#include "ModelHarness.h"

using namespace zr::sim;

namespace {

TEST(CommandFrame, HostFramesHaveTheLineLayout) {
    EXPECT_EQ(commandFrame("1234"), std::string("\x02"
                                                "00FF1234000000\x03"
                                                "24"));
    EXPECT_EQ(commandFrame("0123456789").substr(16), "01");
}

TEST(FrameProtocol, GoodWriteFrameGetsAckAndIsLogged) {
    ModelHarness h;
    h.clock.advance(5);
    h.command("0108050000");
    EXPECT_EQ(h.read(), kAck);
    EXPECT_EQ(h.read(), "");
    const auto frames = h.model.frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].bytes, commandFrame("0108050000"));
    EXPECT_EQ(frames[0].text, "0108050000");
    EXPECT_EQ(frames[0].tick, 1005u);
    EXPECT_TRUE(frames[0].checksumOk);
    EXPECT_EQ(h.model.reg(0x01, 0x08), 0x050000u);
}

TEST(FrameProtocol, FrameFedOneByteAtATimeIsAssembled) {
    ModelHarness h;
    for (char c : commandFrame("0108070000")) h.send(std::string(1, c));
    EXPECT_EQ(h.read(), kAck);
    EXPECT_EQ(h.model.commandTexts(), std::vector<std::string>{"0108070000"});
}

TEST(FrameProtocol, BadChecksumGetsNakAndChangesNothing) {
    ModelHarness h;
    std::string frame = commandFrame("0108050000");
    frame[17] = frame[17] == '0' ? '1' : '0';
    h.send(frame);
    EXPECT_EQ(h.read(), kNak);
    EXPECT_EQ(h.model.reg(0x01, 0x08), 0u);
    ASSERT_EQ(h.model.frames().size(), 1u);
    EXPECT_FALSE(h.model.frames()[0].checksumOk);
    EXPECT_TRUE(h.model.commandTexts().empty());
}

TEST(FrameProtocol, MissingEtxGetsNak) {
    ModelHarness h;
    std::string frame = commandFrame("0108050000");
    frame[15] = '0';
    // Keep the checksum right so only the framing is wrong.
    frame.replace(16, 2,
                  hexByte(frameChecksum(reinterpret_cast<const uint8_t*>(frame.data()), 16)));
    h.send(frame);
    EXPECT_EQ(h.read(), kNak);
}

TEST(FrameProtocol, StxInsideAFrameStartsANewOne) {
    ModelHarness h;
    h.send(commandFrame("0108050000").substr(0, 9));
    h.command("0108060000");
    EXPECT_EQ(h.readAll(), kAck);
    EXPECT_EQ(h.model.commandTexts(), std::vector<std::string>{"0108060000"});
}

TEST(FrameProtocol, ReadAnswersWithTheExactFrame) {
    ModelHarness h;
    h.model.setReg(0x01, 0x11, 0x12AB00);
    h.command("8111000000");
    EXPECT_EQ(h.read(), kAck);
    // The host's worked example: 02 31 32 41 42 30 30 03 42 34.
    EXPECT_EQ(h.read(), std::string("\x02"
                                    "12AB00\x03"
                                    "B4"));
    h.send(kAck);
    EXPECT_EQ(h.model.hostReplies(), std::vector<uint8_t>{ACK});
    EXPECT_EQ(h.read(), "");
}

TEST(FrameProtocol, HostNakRepeatsTheAnswerTwiceAtMost) {
    ModelHarness h;
    h.command("8108000000");
    h.readAll();
    for (int i = 0; i < 2; ++i) {
        h.send(kNak);
        EXPECT_EQ(h.read(), answerFrame(0, ETX));
    }
    h.send(kNak);
    EXPECT_EQ(h.read(), "");
}

TEST(FrameProtocol, DefaultsComeFromTheRegisterTable) {
    ModelHarness h;
    EXPECT_EQ(h.readRegister("8111000000"), 0x034200);  // variable shutter 834, 2 bytes
    EXPECT_EQ(h.readRegister("814C000000"), 0x600000);  // white spot level 96
    EXPECT_EQ(h.readRegister("8129000000"), 0x020000);  // white balance MANUAL
    EXPECT_EQ(h.readRegister("B077000000"), 0x960000);  // sub voltage 150
}

}  // namespace
