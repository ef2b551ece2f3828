#include <gtest/gtest.h>

#include "ScriptedLinkTest.h"
#include "link/FrameCodec.h"

namespace zr::test {
namespace {

constexpr uint32_t kAnswerDoneBits = LS_ANSWER_OK | LS_ANSWER_DONE | LS_ACK | LS_RX;

Bytes frameBytes(std::string_view upper) {
    const auto f = buildCommandFrame(upper);
    return Bytes(f.begin(), f.end());
}

// Replies per frame write: the n-th write of a frame gets replies[n] (or
// nothing past the end).
ScriptedPort::Responder perFrame(std::vector<std::vector<Bytes>> replies) {
    auto count = std::make_shared<size_t>(0);
    return [replies, count](const Bytes& written) -> std::vector<Bytes> {
        if (written.size() != 18) return {};
        const size_t n = (*count)++;
        return n < replies.size() ? replies[n] : std::vector<Bytes>{};
    };
}

using LinkWorker = ScriptedLinkTest;

TEST_F(LinkWorker, WriteCommandGoesOutOnceAndEndsOnAck) {
    port.respond(ackingCamera(kGood));
    ASSERT_TRUE(open());
    link.clearStatus();
    ASSERT_EQ(link.SendCommand("0108050000"), 0);
    EXPECT_EQ(waitFor(LS_ACK), LS_ACK | LS_RX);
    ASSERT_TRUE(eventually([&] { return idle(); }));
    const auto writes = port.writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].bytes, frameBytes("0108050000"));
    EXPECT_EQ(writes[0].timeoutMs, 1000u);
    EXPECT_EQ(writes[0].ref, kRef);
    EXPECT_EQ(sink.count(), 0u);
}

TEST_F(LinkWorker, EveryReadAsksForOneHundredBytesWithTenMsTimeout) {
    ASSERT_TRUE(open());
    ASSERT_TRUE(eventually([&] { return port.readCount() > 20; }));
    for (const auto& r : port.reads()) {
        EXPECT_EQ(r.sizeIn, 100u);
        EXPECT_EQ(r.timeoutMs, 10u);
        EXPECT_EQ(r.ref, kRef);
    }
}

TEST_F(LinkWorker, GoodAnswerIsAcknowledgedAndTaken) {
    port.respond(ackingCamera(kGood));
    ASSERT_TRUE(open());
    EXPECT_EQ(sendAndWait("8108000000"), kAnswerDoneBits);
    EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
    EXPECT_EQ(link.TakeAnswer(fallback), fallback);
    ASSERT_TRUE(eventually([&] { return idle(); }));
    const auto writes = port.writes();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].bytes, frameBytes("8108000000"));
    EXPECT_EQ(writes[1].bytes, Bytes{0x06});
    EXPECT_EQ(writes[1].timeoutMs, 1u);
    EXPECT_EQ(sink.count(), 0u);
}

TEST_F(LinkWorker, BadChecksumIsRefusedAndAGoodCopyAccepted) {
    port.respond(perFrame({{{0x06}, kBad, kGood}}));
    ASSERT_TRUE(open());
    EXPECT_EQ(sendAndWait("8108000000"), kAnswerDoneBits);
    EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
    const auto writes = port.writes();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[1].bytes, Bytes{0x15});
    EXPECT_EQ(writes[1].timeoutMs, 1u);
    EXPECT_EQ(writes[2].bytes, Bytes{0x06});
}

TEST_F(LinkWorker, MoreThanOneHundredBytesArriveOverTwoReads) {
    Bytes burst(95, 'x');
    burst.push_back(0x06);
    burst.insert(burst.end(), kGood.begin(), kGood.end());
    port.respond(perFrame({{burst}}));
    ASSERT_TRUE(open());
    EXPECT_EQ(sendAndWait("8108000000"), kAnswerDoneBits);
    EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
}

TEST_F(LinkWorker, BytesWhileIdleSetOnlyRxAndAreNotParsed) {
    ASSERT_TRUE(open());
    link.clearStatus();
    port.queue({0x06});
    EXPECT_EQ(waitFor(LS_RX), LS_RX);
    // Half an answer frame while idle must not be continued by the next answer.
    port.queue({0x02, '9', '9'});
    EXPECT_EQ(waitFor(LS_RX), LS_RX);
    EXPECT_EQ(link.peekStatus(), 0u);
    port.respond(ackingCamera(kGood));
    EXPECT_EQ(sendAndWait("8108000000"), kAnswerDoneBits);
    EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
}

// A camera that resets in the middle of an answer frame leaves an STX and a
// few bytes of it. Whether its exchange ends in the answer time-out (a read)
// or has already ended with the ACK (a write with a stray frame start behind
// it), those bytes must not swallow the replies to the next frames.
TEST_F(LinkWorker, ACutOffAnswerIsDroppedAtEveryCut) {
    for (size_t cut = 1; cut < kGood.size(); ++cut) {
        for (const bool read : {true, false}) {
            SCOPED_TRACE(std::to_string(cut) +
                         (read ? " bytes of a read's answer" : " bytes behind a write's ACK"));
            port.reset(&clock);
            sink.clear();
            const Bytes partial(kGood.begin(), kGood.begin() + static_cast<long>(cut));
            Bytes ackThenPartial{0x06};
            ackThenPartial.insert(ackThenPartial.end(), partial.begin(), partial.end());
            const std::vector<Bytes> first =
                read ? std::vector<Bytes>{{0x06}, partial} : std::vector<Bytes>{ackThenPartial};
            port.respond(perFrame({first, {{0x06}}, {{0x06}}, {{0x06}}, {{0x06}, kGood}}));
            ASSERT_TRUE(open());
            if (read) {
                EXPECT_EQ(sendAndWait("8108000000") & (LS_ANSWER_OK | LS_ANSWER_TIMEOUT),
                          LS_ANSWER_TIMEOUT);
                ASSERT_TRUE(settled());
                EXPECT_EQ(sink.texts(), std::vector<std::string>{"There is no [ANSWER DATA]"});
                // The time-out has ended the half-received frame.
                link.CloseLink();
                EXPECT_FALSE(link.inAnswerFrame());
                EXPECT_EQ(link.answerPos(), 0);
                ASSERT_TRUE(open());
            } else {
                link.clearStatus();
                ASSERT_EQ(link.SendCommand("0108050000"), 0);
                EXPECT_EQ(waitFor(LS_ACK | LS_ACK_TIMEOUT) & LS_ACK, LS_ACK);
                ASSERT_TRUE(settled());
            }
            sink.clear();
            // Three writes, each acknowledged once, then a read.
            for (const char* text : {"0109000000", "010A000000", "010B000000"}) {
                link.clearStatus();
                ASSERT_EQ(link.SendCommand(text), 0);
                EXPECT_EQ(waitFor(LS_ACK | LS_ACK_TIMEOUT), LS_ACK | LS_RX) << text;
                ASSERT_TRUE(settled());
            }
            EXPECT_EQ(sendAndWait("8108000000"), kAnswerDoneBits);
            EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
            EXPECT_EQ(sink.count(), 0u);
            EXPECT_EQ(port.frameWrites().size(), 5u);
            // Exactly one reply went back to the camera: the good answer's ACK.
            EXPECT_EQ(replies(), std::vector<Bytes>{{0x06}});
            link.CloseLink();
        }
    }
}

// An answer that comes after its read has timed out arrives while the next
// read waits for its ACK; it is dropped without a reply, and the next read
// gets its own answer, whether the late one comes alone or with the ACK.
TEST_F(LinkWorker, ALateAnswerIsNotTakenForTheNextRead) {
    const Bytes late = answerFrame("111111");
    Bytes lateThenAck = late;
    lateThenAck.push_back(0x06);
    for (const auto& second :
         {std::vector<Bytes>{late, {0x06}, kGood}, std::vector<Bytes>{lateThenAck, kGood}}) {
        SCOPED_TRACE(second.size() == 3 ? "late answer alone" : "late answer with the ACK");
        port.reset(&clock);
        sink.clear();
        port.respond(perFrame({{{0x06}}, second}));
        ASSERT_TRUE(open());
        EXPECT_EQ(sendAndWait("8108000000") & (LS_ANSWER_OK | LS_ANSWER_TIMEOUT),
                  LS_ANSWER_TIMEOUT);
        ASSERT_TRUE(settled());
        EXPECT_EQ(sendAndWait("8109000000"), kAnswerDoneBits);
        EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
        // One reply only: the ACK of the read's own answer.
        EXPECT_EQ(replies(), std::vector<Bytes>{{0x06}});
        link.CloseLink();
    }
}

TEST_F(LinkWorker, NakEndsAWriteCommandWithoutAStatusBit) {
    port.respond(perFrame({{{0x15}}, {{0x06}}}));
    ASSERT_TRUE(open());
    link.clearStatus();
    ASSERT_EQ(link.SendCommand("0108050000"), 0);
    EXPECT_EQ(waitFor(LS_RX), LS_RX);
    ASSERT_TRUE(eventually([&] { return idle(); }));
    // Nothing is resent: the next command is the next frame.
    ASSERT_EQ(link.SendCommand("0109000000"), 0);
    EXPECT_EQ(waitFor(LS_ACK), LS_ACK | LS_RX);
    const auto frames = port.frameWrites();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1], frameBytes("0109000000"));
    EXPECT_EQ(sink.count(), 0u);
}

TEST_F(LinkWorker, NakOnAReadCommandKeepsWaitingForTheAnswer) {
    port.respond(perFrame({{{0x15}, kGood}}));
    ASSERT_TRUE(open());
    const uint32_t seen = sendAndWait("8108000000");
    EXPECT_EQ(seen, LS_ANSWER_OK | LS_ANSWER_DONE | LS_RX);
    EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
}

// Right after the ACK of a command, whether the worker goes on waiting for
// answer data depends on the command's first character.
TEST_F(LinkWorker, FirstCharacterDecidesWhetherAnswerDataIsAwaited) {
    port.respond(perFrame({{{0x06}}, {{0x06}}, {{0x06}}, {{0x06}}, {{0x06}}, {{0x06}}, {{0x06}}}));
    ASSERT_TRUE(open());
    struct Case {
        const char* text;
        bool awaitsAnswer;
    };
    for (const Case& c :
         {Case{"0108050000", false}, Case{"7000000000", false}, Case{":000000000", false},
          Case{"8000000000", true}, Case{"9000000000", true}, Case{"a000000000", true},
          Case{"F000000000", true}}) {
        clock.holdAt(clock.tickMs() + 50);
        ASSERT_EQ(link.SendCommand(c.text), 0) << c.text;
        ASSERT_TRUE(clock.waitHeld());
        EXPECT_FALSE(link.awaitingAck()) << c.text;
        EXPECT_EQ(link.awaitingAnswer(), c.awaitsAnswer) << c.text;
        EXPECT_EQ(link.inExchange(), c.awaitsAnswer) << c.text;
        clock.release();
        // A read that got no answer ends in its box; serve it here.
        ASSERT_TRUE(settled());
    }
    EXPECT_EQ(sink.countOf("There is no [ANSWER DATA]"), 4u);
}

TEST_F(LinkWorker, ALibraryReportingMoreThanItsBufferIsNotBelieved) {
    port.reportOversizedReads(true);
    ASSERT_TRUE(open());
    link.clearStatus();
    port.queue({0x06});
    EXPECT_EQ(waitFor(LS_RX), LS_RX);
    port.reportOversizedReads(false);
    port.respond(ackingCamera(kGood));
    EXPECT_EQ(sendAndWait("8108000000"), kAnswerDoneBits);
}

TEST_F(LinkWorker, NullSerialReferenceStillUsesTheLibraryPort) {
    port.respond(ackingCamera(kGood));
    ASSERT_TRUE(open(nullptr));
    EXPECT_EQ(sendAndWait("8108000000"), kAnswerDoneBits);
    EXPECT_EQ(port.writes()[0].ref, nullptr);
    link.CloseLink();
    EXPECT_EQ(port.closeCount(), 1);
}

TEST_F(LinkWorker, CommonLibraryPortWorksTheSame) {
    port.respond(ackingCamera(kGood));
    ASSERT_TRUE(link.startOnBoardPort(ScriptedPort::functions(), kRef));
    EXPECT_EQ(sendAndWait("8108000000"), kAnswerDoneBits);
    link.CloseLink();
    EXPECT_EQ(port.closeCount(), 1);
    EXPECT_EQ(port.lastClosedRef(), kRef);
}

TEST_F(LinkWorker, StartIsRefusedWhileOpenAndWithoutReadOrWrite) {
    ClSerialFunctions noRead = ScriptedPort::functions();
    noRead.serialRead = nullptr;
    EXPECT_FALSE(link.startOnBoardPort(noRead, kRef));
    ClSerialFunctions noWrite = ScriptedPort::functions();
    noWrite.serialWrite = nullptr;
    EXPECT_FALSE(link.startOnBoardPort(noWrite, kRef));
    EXPECT_FALSE(link.startOnComDevice(-1));
    EXPECT_FALSE(link.isOpen());

    ASSERT_TRUE(open());
    EXPECT_FALSE(link.startOnBoardPort(ScriptedPort::functions(), nullptr));
    EXPECT_FALSE(link.startOnComDevice(0));
    // The first transport is still the one in use.
    port.respond(ackingCamera(kGood));
    EXPECT_EQ(sendAndWait("8108000000"), kAnswerDoneBits);
    EXPECT_EQ(port.writes()[0].ref, kRef);
}

}  // namespace
}  // namespace zr::test
