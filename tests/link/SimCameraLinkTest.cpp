#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedLinkTest.h"
#include "model/SimClSerial.h"
#include "support/SimLinkFixture.h"

namespace zr::test {
namespace {

using Faults = sim::FaultSettings;

std::string hexOf(const std::string& bytes) {
    std::string out;
    char b[4];
    for (unsigned char c : bytes) {
        std::snprintf(b, sizeof b, "%02X ", c);
        out += b;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

class SimCamera : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(f.open()); }
    void faults(const std::function<void(Faults&)>& change) { f.camera.updateFaults(change); }
    bool idle() { return !f.link.inExchange(); }
    // Shows whatever the worker has queued until the link is idle.
    bool serveUntilIdle() {
        return eventually([&] {
            f.relay.servePending();
            return idle();
        });
    }

    SimLinkFixture f;
    const AnswerBytes fallback{0xEE, 0xDD, 0xCC};
};

TEST_F(SimCamera, FramesArriveByteExact) {
    struct Case {
        const char* text;
        const char* wire;
    };
    const Case cases[] = {
        {"1234", "02 30 30 46 46 31 32 33 34 30 30 30 30 30 30 03 32 34"},
        {"0123456789", "02 30 30 46 46 30 31 32 33 34 35 36 37 38 39 03 30 31"},
        {"abcd", "02 30 30 46 46 41 42 43 44 30 30 30 30 30 30 03 45 34"},
        {"0108050000FF", "02 30 30 46 46 30 31 30 38 30 35 30 30 30 30 03 32 30"},
    };
    for (const Case& c : cases) {
        f.camera.clearLog();
        ASSERT_EQ(f.link.SendCommand(c.text), 0) << c.text;
        ASSERT_TRUE(eventually([&] { return f.camera.frames().size() == 1; })) << c.text;
        const auto frame = f.camera.frames()[0];
        EXPECT_EQ(hexOf(frame.bytes), c.wire) << c.text;
        EXPECT_TRUE(frame.checksumOk);
        ASSERT_TRUE(serveUntilIdle());
    }
    EXPECT_EQ(f.sink.count(), 0u);
}

TEST_F(SimCamera, GoodAnswerIsAcknowledgedToTheCamera) {
    f.camera.setReg(0x01, 0x08, 0x12AB00);
    const uint32_t seen = f.sendAndWait("8108000000");
    EXPECT_EQ(seen, LS_ANSWER_OK | LS_ANSWER_DONE | LS_ACK | LS_RX);
    EXPECT_EQ(f.link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
    EXPECT_EQ(f.link.TakeAnswer(fallback), fallback);
    ASSERT_TRUE(eventually([&] { return f.camera.hostReplies().size() == 1; }));
    EXPECT_EQ(f.camera.hostReplies(), std::vector<uint8_t>{0x06});
    EXPECT_EQ(f.sink.count(), 0u);
}

TEST_F(SimCamera, WriteCommandChangesTheRegister) {
    f.link.clearStatus();
    ASSERT_EQ(f.link.SendCommand("0108050000"), 0);
    ASSERT_TRUE(eventually([&] { return f.link.peekStatus() & LS_ACK; }));
    EXPECT_EQ(f.camera.reg(0x01, 0x08), 0x050000u);
    EXPECT_EQ(f.camera.commandTexts(), std::vector<std::string>{"0108050000"});
}

TEST_F(SimCamera, BadChecksumIsRefusedThenTheRepeatedCopyAccepted) {
    f.camera.setReg(0x01, 0x08, 0x12AB00);
    faults([](Faults& s) { s.corruptNextAnswers = 1; });
    EXPECT_EQ(f.sendAndWait("8108000000") & (LS_ANSWER_OK | LS_ANSWER_TIMEOUT), LS_ANSWER_OK);
    EXPECT_EQ(f.link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
    ASSERT_TRUE(eventually([&] { return f.camera.hostReplies().size() == 2; }));
    EXPECT_EQ(f.camera.hostReplies(), (std::vector<uint8_t>{0x15, 0x06}));
}

TEST_F(SimCamera, AlwaysBadChecksumEndsInTheAnswerTimeoutWithTheRingUntouched) {
    f.camera.setReg(0x01, 0x08, 0x010203);
    ASSERT_TRUE(f.sendAndWait("8108000000") & LS_ANSWER_OK);
    faults([](Faults& s) { s.corruptAllAnswers = true; });
    const uint32_t seen = f.sendAndWait("8108000000");
    EXPECT_EQ(seen & (LS_ANSWER_OK | LS_ANSWER_DONE | LS_ANSWER_TIMEOUT),
              LS_ANSWER_DONE | LS_ANSWER_TIMEOUT);
    // The earlier answer was taken by nobody and is still the one there.
    EXPECT_EQ(f.link.TakeAnswer(fallback), (AnswerBytes{0x01, 0x02, 0x03}));
    ASSERT_TRUE(serveUntilIdle());
    EXPECT_EQ(f.sink.texts(), std::vector<std::string>{"There is no [ANSWER DATA]"});
}

struct ReadShape {
    const char* name;
    std::function<void(Faults&)> inject;
};

class SimCameraReadShape : public SimCamera, public ::testing::WithParamInterface<ReadShape> {};

TEST_P(SimCameraReadShape, AnswerIsAssembled) {
    f.camera.setReg(0x01, 0x11, 0x12AB00);
    faults(GetParam().inject);
    EXPECT_EQ(f.sendAndWait("8111000000"), LS_ANSWER_OK | LS_ANSWER_DONE | LS_ACK | LS_RX);
    EXPECT_EQ(f.link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
    EXPECT_EQ(f.sink.count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, SimCameraReadShape,
    ::testing::Values(ReadShape{"AckAndAnswerInOneRead",
                                [](Faults& s) { s.mergeAckAndAnswer = true; }},
                      ReadShape{"AnswerOverThreeReads",
                                [](Faults& s) {
                                    s.splitSizes = {3, 4};
                                }},
                      ReadShape{"ByteByByte", [](Faults& s) { s.splitSizes = {1}; }},
                      ReadShape{"GarbageBeforeEachReply", [](Faults& s) { s.garbage = "zq\x03"; }},
                      ReadShape{"LateAnswer", [](Faults& s) { s.answerDelayMs = 2990; }},
                      ReadShape{"LateAck", [](Faults& s) { s.ackDelayMs = 990; }}),
    [](const auto& info) { return info.param.name; });

TEST_F(SimCamera, AckButAnswerTooLateTimesOutAndTheLateAnswerIsDropped) {
    f.camera.setReg(0x01, 0x08, 0x12AB00);
    faults([](Faults& s) { s.answerDelayMs = 3500; });
    // Stop virtual time shortly after the box, before the late answer is due.
    f.sink.onShow([&](const RecordedMessage& m) { f.manualClock.holdAt(m.tick + 100); });
    EXPECT_EQ(f.sendAndWait("8108000000"), LS_ACK | LS_RX | LS_ANSWER_TIMEOUT);
    ASSERT_TRUE(serveUntilIdle());
    const auto shown = f.sink.messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].message.text, "There is no [ANSWER DATA]");
    EXPECT_EQ(ticksSince(shown[0].tick, f.camera.frames()[0].tick), 3001u);
    // The answer arrives while no exchange runs: only LS_RX, no reply, no answer.
    ASSERT_TRUE(f.manualClock.waitHeld());
    f.link.clearStatus();
    f.manualClock.release();
    ASSERT_TRUE(eventually([&] { return f.link.peekStatus() != 0; }));
    EXPECT_EQ(f.link.peekStatus(), LS_RX);
    EXPECT_TRUE(f.camera.hostReplies().empty());
    EXPECT_EQ(f.link.TakeAnswer(fallback), fallback);
}

TEST_F(SimCamera, NakedWriteEndsQuietlyAndNakedReadTimesOut) {
    faults([](Faults& s) { s.nakCommands = true; });
    f.link.clearStatus();
    ASSERT_EQ(f.link.SendCommand("0108050000"), 0);
    ASSERT_TRUE(serveUntilIdle());
    EXPECT_EQ(f.link.peekStatus(), LS_RX);
    EXPECT_EQ(f.sink.count(), 0u);
    EXPECT_EQ(f.camera.frames().size(), 1u);

    EXPECT_EQ(f.sendAndWait("8108000000"), LS_RX | LS_ANSWER_TIMEOUT);
    ASSERT_TRUE(serveUntilIdle());
    EXPECT_EQ(f.sink.texts(), std::vector<std::string>{"There is no [ANSWER DATA]"});
}

TEST_F(SimCamera, ClosingWhileTheWorkerShowsAMessage) {
    faults([](Faults& s) { s.silent = true; });
    f.sink.holdOpenFor(std::chrono::milliseconds(100));
    ASSERT_EQ(f.link.SendCommand("8108000000"), 0);
    ASSERT_TRUE(eventually([&] { return f.relay.hasPending(); }));
    f.close();
    EXPECT_FALSE(f.link.isOpen());
    EXPECT_FALSE(sim::inProcessPortOpen(0));
    EXPECT_EQ(f.sink.texts(), std::vector<std::string>{"There is no [ACK]"});
    EXPECT_TRUE(idle());
    // And the link opens again on the same camera.
    faults([](Faults& s) { s.silent = false; });
    f.camera.setReg(0x01, 0x08, 0x000102);
    ASSERT_TRUE(f.open());
    EXPECT_TRUE(f.sendAndWait("8108000000") & LS_ANSWER_OK);
    EXPECT_EQ(f.link.TakeAnswer(fallback), (AnswerBytes{0x00, 0x01, 0x02}));
}

}  // namespace
}  // namespace zr::test
