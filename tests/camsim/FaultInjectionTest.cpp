#include <gtest/gtest.h>

#include "ModelHarness.h"

using namespace zr::sim;

namespace {

const std::string kAnswer0 = answerFrame(0, ETX);  // shutter speed default

TEST(Faults, SilentCameraRecordsButNeverReplies) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) { f.silent = true; });
    h.command("8108000000");
    h.clock.advance(10000);
    EXPECT_EQ(h.readAll(), "");
    EXPECT_EQ(h.model.frames().size(), 1u);
}

TEST(Faults, NakInsteadOfAckLeavesTheRegister) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) { f.nakCommands = true; });
    h.command("0108050000");
    h.command("8108000000");
    EXPECT_EQ(h.readAll(), kNak + kNak);
    EXPECT_EQ(h.model.reg(0x01, 0x08), 0u);
}

TEST(Faults, NakNextFramesThenBackToNormal) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) { f.nakNextFrames = 2; });
    for (int i = 0; i < 3; ++i) h.command("0108050000");
    EXPECT_EQ(h.readAll(), kNak + kNak + kAck);
    EXPECT_EQ(h.model.faults().nakNextFrames, 0);
}

TEST(Faults, DroppedAcksLoseTheFrameUntilTheResend) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) { f.dropNextAcks = 2; });
    h.command("0108050000");
    h.command("0108050000");
    EXPECT_EQ(h.readAll(), "");
    EXPECT_EQ(h.model.reg(0x01, 0x08), 0u);
    h.command("0108050000");
    EXPECT_EQ(h.readAll(), kAck);
    EXPECT_EQ(h.model.reg(0x01, 0x08), 0x050000u);
    EXPECT_EQ(h.model.commandTexts().size(), 3u);
}

TEST(Faults, CorruptOnceThenTheResentCopyIsGood) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) { f.corruptNextAnswers = 1; });
    h.command("8108000000");
    EXPECT_EQ(h.read(), kAck);
    // The right checksum of "000000" is 0xDA; the corrupted one is one more.
    EXPECT_EQ(h.read(), std::string("\x02"
                                    "000000\x03"
                                    "DB"));
    h.send(kNak);
    EXPECT_EQ(h.read(), std::string("\x02"
                                    "000000\x03"
                                    "DA"));
    h.send(kAck);
    EXPECT_EQ(h.model.hostReplies(), (std::vector<uint8_t>{NAK, ACK}));
}

TEST(Faults, CorruptAlwaysAlsoCorruptsResends) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) { f.corruptAllAnswers = true; });
    h.command("8108000000");
    h.read();
    EXPECT_EQ(h.read().substr(8), "DB");
    h.send(kNak);
    EXPECT_EQ(h.read().substr(8), "DB");
}

TEST(Faults, NoResendWhenSwitchedOff) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) { f.resendAnswerOnNak = false; });
    h.command("8108000000");
    h.readAll();
    h.send(kNak);
    EXPECT_EQ(h.readAll(), "");
}

TEST(Faults, SplitCutsEachReplyIntoReads) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) { f.splitSizes = {3, 3}; });
    h.command("8108000000");
    EXPECT_EQ(h.read(), kAck);
    EXPECT_EQ(h.read(), kAnswer0.substr(0, 3));
    EXPECT_EQ(h.read(), kAnswer0.substr(3, 3));
    EXPECT_EQ(h.read(), kAnswer0.substr(6));
    EXPECT_EQ(h.read(), "");
}

TEST(Faults, ReadSmallerThanAPieceTakesThePieceInTurns) {
    ModelHarness h;
    h.command("8108000000");
    h.read();
    EXPECT_EQ(h.read(4), kAnswer0.substr(0, 4));
    EXPECT_EQ(h.read(100), kAnswer0.substr(4));
}

TEST(Faults, CutOffAnswerStopsAfterTwoBytesThenSilence) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) { f.cutNextAnswers = 1; });
    h.command("8108000000");
    EXPECT_EQ(h.read(), kAck);
    EXPECT_EQ(h.read(), std::string("\x02"
                                    "00"));
    EXPECT_EQ(h.read(), "");
    h.command("8108000000");  // only the next answer is cut
    EXPECT_EQ(h.read(), kAck);
    EXPECT_EQ(h.read(), kAnswer0);
}

TEST(Faults, MergePutsAckAndAnswerInOneRead) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) { f.mergeAckAndAnswer = true; });
    h.command("8108000000");
    EXPECT_EQ(h.read(), kAck + kAnswer0);
}

TEST(Faults, GarbageComesBeforeEveryReply) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) { f.garbage = "\x11\xEE"; });
    h.command("8108000000");
    EXPECT_EQ(h.read(), "\x11\xEE" + kAck);
    EXPECT_EQ(h.read(), "\x11\xEE" + kAnswer0);
}

TEST(Faults, DelaysFollowTheInjectedClock) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) {
        f.ackDelayMs = 50;
        f.answerDelayMs = 3500;
    });
    h.command("8108000000");
    EXPECT_TRUE(h.model.replyPending());
    EXPECT_EQ(h.model.msUntilReplyDue(), 50u);
    h.clock.advance(49);
    EXPECT_EQ(h.read(), "");
    h.clock.advance(1);
    EXPECT_EQ(h.read(), kAck);
    h.clock.advance(3499);
    EXPECT_EQ(h.read(), "");
    h.clock.advance(1);
    EXPECT_EQ(h.read(), kAnswer0);
    EXPECT_FALSE(h.model.replyPending());
}

TEST(Faults, DelayedReplyIsNotOvertakenByALaterOne) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) { f.answerDelayMs = 100; });
    h.command("8108000000");
    h.model.updateFaults([](FaultSettings& f) { f.answerDelayMs = 0; });
    h.command("0108010000");
    EXPECT_EQ(h.read(), kAck);
    EXPECT_EQ(h.read(), "");  // the delayed answer holds back the second ACK
    h.clock.advance(100);
    EXPECT_EQ(h.read(), kAnswer0);
    EXPECT_EQ(h.read(), kAck);
}

TEST(Faults, EndByteIsConfigurableAndSummed) {
    ModelHarness h;
    h.model.updateFaults([](FaultSettings& f) { f.answerEndByte = 0x04; });
    h.command("8108000000");
    h.read();
    EXPECT_EQ(h.read(), std::string("\x02"
                                    "000000\x04"
                                    "D9"));
}

}  // namespace
