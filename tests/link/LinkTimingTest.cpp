#include <gtest/gtest.h>

#include "ScriptedLinkTest.h"

namespace zr::test {
namespace {

// Virtual time moves 1 ms per worker pass (see ManualClock), so every time-out
// here falls on an exact tick: the first pass more than N ms after the write.
class LinkTiming : public ScriptedLinkTest, public ::testing::WithParamInterface<uint32_t> {
  protected:
    LinkTiming() : ScriptedLinkTest(GetParam()) {}
};

// Start ticks: plain, and just before the 32-bit tick wraps.
INSTANTIATE_TEST_SUITE_P(StartTicks, LinkTiming,
                         ::testing::Values(1000u, 0xFFFFFC00u, 0xFFFFFFFFu, 0xFFFFF830u));

TEST_P(LinkTiming, SilentCameraGetsThreeWritesThenTheAckBox) {
    ASSERT_TRUE(open());
    uint32_t statusWhileShown = 0;
    sink.onShow([&](const RecordedMessage&) { statusWhileShown = link.peekStatus(); });
    const uint32_t seen = sendAndWait("0108050000");
    EXPECT_EQ(seen, LS_ACK_TIMEOUT);

    const auto writes = port.writes();
    ASSERT_EQ(writes.size(), 3u);
    const uint32_t t0 = writes[0].tick;
    EXPECT_EQ(ticksSince(writes[1].tick, t0), 1001u);
    EXPECT_EQ(ticksSince(writes[2].tick, t0), 2002u);
    EXPECT_EQ(writes[0].timeoutMs, 1000u);
    EXPECT_EQ(writes[1].timeoutMs, 0u);
    EXPECT_EQ(writes[2].timeoutMs, 0u);
    EXPECT_EQ(writes[1].bytes, writes[0].bytes);
    EXPECT_EQ(writes[2].bytes, writes[0].bytes);

    const auto shown = sink.messages();
    ASSERT_EQ(shown.size(), 1u);
    const Message& m = shown[0].message;
    EXPECT_EQ(m.text, "There is no [ACK]");
    EXPECT_EQ(m.caption, "NO RESPONSE ");
    EXPECT_EQ(m.icon, MsgIcon::Warning);
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
    EXPECT_TRUE(m.systemModal);
    EXPECT_EQ(m.owner, nullptr);
    EXPECT_EQ(shown[0].thread, std::this_thread::get_id());
    EXPECT_EQ(ticksSince(shown[0].tick, t0), 3003u);
    // The time-out bit comes only after the box was closed.
    EXPECT_EQ(statusWhileShown & LS_ACK_TIMEOUT, 0u);
    ASSERT_TRUE(eventually([&] { return idle(); }));
}

TEST_P(LinkTiming, AnswerTimeoutCountsFromTheLastWrite) {
    // ACK to the third write only, and no answer data.
    ackFrameWrite(3);
    ASSERT_TRUE(open());
    const uint32_t seen = sendAndWait("8108000000");
    EXPECT_EQ(seen & (LS_ACK | LS_ANSWER_TIMEOUT | LS_ACK_TIMEOUT), LS_ACK | LS_ANSWER_TIMEOUT);
    ASSERT_TRUE(boxesShown(1));
    const auto writes = port.writes();
    ASSERT_EQ(writes.size(), 3u);
    const auto shown = sink.messages();
    EXPECT_EQ(shown[0].message.text, "There is no [ANSWER DATA]");
    EXPECT_EQ(ticksSince(shown[0].tick, writes[2].tick), 3001u);
}

TEST_P(LinkTiming, AckButNoAnswerTimesOutJustOverThreeSecondsAfterTheWrite) {
    ackFrameWrite();
    ASSERT_TRUE(open());
    EXPECT_EQ(sendAndWait("8108000000"), LS_ACK | LS_RX | LS_ANSWER_TIMEOUT);
    ASSERT_TRUE(boxesShown(1));
    const auto shown = sink.messages();
    EXPECT_EQ(shown[0].message.caption, "NO RESPONSE ");
    EXPECT_EQ(shown[0].message.icon, MsgIcon::Warning);
    EXPECT_TRUE(shown[0].message.systemModal);
    EXPECT_EQ(ticksSince(shown[0].tick, port.writes()[0].tick), 3001u);
    EXPECT_EQ(port.frameWrites().size(), 1u);
    ASSERT_TRUE(eventually([&] { return idle(); }));
}

// A line that never goes quiet (a stray byte every 5 ms, each library read
// waiting for the next): the frame, its resends and the time-out box come
// when they come on a quiet line, give or take one pass.
struct NoisyCase {
    const char* text;
    bool acked;
    uint32_t ends;
    const char* box;
    size_t frames;
    uint32_t boxAfterLastWrite;  // on a quiet line
};
const NoisyCase kNoisyCases[] = {
    {"0108050000", false, LS_ACK_TIMEOUT, "There is no [ACK]", 3, 1001},
    {"8108000000", true, LS_ANSWER_TIMEOUT, "There is no [ANSWER DATA]", 1, 3001},
};
constexpr uint32_t kNoisyPassMs = 5 + 1;  // a read that waits for its byte, and the wait

class NoisyLine : public ScriptedLinkTest, public ::testing::WithParamInterface<NoisyCase> {};
INSTANTIATE_TEST_SUITE_P(Exchanges, NoisyLine, ::testing::ValuesIn(kNoisyCases));

TEST_P(NoisyLine, GetsItsFramesAndTimeOutsAsAQuietLine) {
    const NoisyCase& c = GetParam();
    port.noiseEvery(5);
    if (c.acked) ackFrameWrite();
    ASSERT_TRUE(open());
    link.clearStatus();
    ASSERT_EQ(link.SendCommand(c.text), 0);
    uint32_t seen = 0;
    ASSERT_TRUE(eventually([&] {
        link.waitLinkEventFor(10);
        seen |= link.fetchAndClearStatus();
        return (seen & c.ends) != 0;
    }));
    ASSERT_TRUE(boxesShown(1));
    EXPECT_EQ(sink.texts()[0], c.box);

    std::vector<uint32_t> frameTicks;
    for (const auto& w : port.writes())
        if (w.bytes.size() == 18) frameTicks.push_back(w.tick);
    ASSERT_EQ(frameTicks.size(), c.frames);
    for (size_t i = 1; i < frameTicks.size(); ++i) {
        const uint32_t gap = ticksSince(frameTicks[i], frameTicks[i - 1]);
        EXPECT_GE(gap, 1001u);
        EXPECT_LE(gap, 1001u + kNoisyPassMs);
    }
    const uint32_t boxGap = ticksSince(sink.messages()[0].tick, frameTicks.back());
    EXPECT_GE(boxGap, c.boxAfterLastWrite);
    EXPECT_LE(boxGap, c.boxAfterLastWrite + kNoisyPassMs);
}

using AnswerTimeoutOrder = ScriptedLinkTest;

// The waiting caller must be released before the box: the status bit is set
// and the event signalled while the box is not yet shown.
TEST_F(AnswerTimeoutOrder, StatusAndEventComeBeforeTheBox) {
    ackFrameWrite();
    ASSERT_TRUE(open());
    clock.holdAt(clock.tickMs() + 100);
    link.clearStatus();
    ASSERT_EQ(link.SendCommand("8108000000"), 0);
    ASSERT_TRUE(clock.waitHeld());
    // The ACK's event and bits are used up before the time-out can come.
    EXPECT_TRUE(link.waitLinkEventFor(0));
    EXPECT_EQ(link.fetchAndClearStatus(), LS_ACK | LS_RX);
    EXPECT_FALSE(link.waitLinkEventFor(0));
    ASSERT_TRUE(link.awaitingAnswer());

    uint32_t statusWhileShown = 0;
    bool eventWhileShown = false;
    bool stillAwaitingWhileShown = false;
    sink.onShow([&](const RecordedMessage&) {
        statusWhileShown = link.peekStatus();
        eventWhileShown = link.waitLinkEventFor(0);
        stillAwaitingWhileShown = link.awaitingAnswer();
    });
    clock.release();
    // Serve the worker's box without touching the event.
    ASSERT_TRUE(boxesShown(1));
    EXPECT_EQ(sink.texts()[0], "There is no [ANSWER DATA]");
    EXPECT_EQ(statusWhileShown, LS_ANSWER_TIMEOUT);
    EXPECT_TRUE(eventWhileShown);
    EXPECT_TRUE(stillAwaitingWhileShown);
    ASSERT_TRUE(eventually([&] { return idle(); }));
    // No second signal for the same time-out.
    EXPECT_FALSE(link.waitLinkEventFor(20));
}

using ExchangeWait = ScriptedLinkTest;

// SendCommand waits for the previous exchange, which here ends only when its
// box is closed: the wait must show that box itself.
TEST_F(ExchangeWait, SendCommandServesTheWorkersBoxWhileWaiting) {
    ackFrameWrite();
    ASSERT_TRUE(open());
    ASSERT_EQ(link.SendCommand("8108000000"), 0);
    ASSERT_EQ(link.SendCommand("0108050000"), 0);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"There is no [ANSWER DATA]"});
    EXPECT_EQ(sink.messages()[0].thread, std::this_thread::get_id());
    ASSERT_TRUE(eventually([&] { return port.frameWrites().size() == 2; }));
    EXPECT_EQ(port.frameWrites()[1][5], '0');
}

TEST_F(ExchangeWait, SendCommandServesTheAckBoxWhileWaiting) {
    // Silence for the three writes of the first frame, ACK for the next.
    ackFrameWrite(4);
    ASSERT_TRUE(open());
    ASSERT_EQ(link.SendCommand("0108050000"), 0);
    ASSERT_EQ(link.SendCommand("0109000000"), 0);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"There is no [ACK]"});
    EXPECT_EQ(waitFor(LS_ACK) & LS_ACK, LS_ACK);
}

}  // namespace
}  // namespace zr::test
