#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "ScriptedLinkTest.h"

namespace zr::test {
namespace {

using LinkClose = ScriptedLinkTest;

TEST_F(LinkClose, WhileTheWorkerShowsAMessage) {
    ASSERT_TRUE(open());
    sink.holdOpenFor(std::chrono::milliseconds(100));
    ASSERT_EQ(link.SendCommand("0108050000"), 0);
    // The silent camera drives the worker into its ACK box; it waits for us.
    ASSERT_TRUE(eventually([&] { return relay.hasPending(); }));
    link.CloseLink();
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"There is no [ACK]"});
    EXPECT_EQ(sink.messages()[0].thread, std::this_thread::get_id());
    EXPECT_EQ(port.closeCount(), 1);
    EXPECT_EQ(port.lastClosedRef(), kRef);
    EXPECT_TRUE(idle());
    sink.clear();
    EXPECT_EQ(link.SendCommand("0108050000"), 1);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"PORT isn't open."});
}

// Asked for inside the worker's own box (its event loop runs timers and
// posted messages), the close cannot wait for the worker: the link closes for
// its callers at once, the waiting reader is let go, and the worker ends and
// closes the port when the box closes. The next opening starts its status
// display afresh.
TEST_F(LinkClose, ACloseInsideTheWorkersBoxTakesEffectWhenTheBoxCloses) {
    ASSERT_TRUE(open());
    bool closedInside = false;
    sink.onShow([&](const RecordedMessage&) {
        link.CloseLink();
        closedInside = !link.isOpen();
        EXPECT_EQ(port.closeCount(), 0);
        EXPECT_TRUE(link.silentSinceLastAck());
    });
    link.clearStatus();
    ASSERT_EQ(link.SendCommand("8108000000"), 0);
    const uint32_t seen = link.waitForStatus(LS_ANSWER_OK | LS_ACK_TIMEOUT | LS_ANSWER_TIMEOUT);
    EXPECT_TRUE(closedInside);
    EXPECT_EQ(seen & LS_ANSWER_OK, 0u);
    EXPECT_FALSE(link.waitLinkEvent());
    EXPECT_TRUE(link.waitUntilIdle());
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"There is no [ACK]"});
    ASSERT_TRUE(eventually([&] { return port.closeCount() == 1; }));

    sink.onShow(nullptr);
    port.respond(ackingCamera(kGood));
    ASSERT_TRUE(open());
    EXPECT_FALSE(link.silentSinceLastAck());
    EXPECT_EQ(link.acknowledgedExchanges(), 0u);
    EXPECT_EQ(sendAndWait("8108000000") & LS_ANSWER_OK, LS_ANSWER_OK);
    EXPECT_EQ(link.acknowledgedExchanges(), 1u);
}

TEST_F(LinkClose, DestroyingTheLinkWhileTheWorkerShowsAMessage) {
    auto other = std::make_unique<SerialLink>(relay, clock);
    ASSERT_TRUE(other->startOnBoardPort(ScriptedPort::functions(), kRef));
    sink.holdOpenFor(std::chrono::milliseconds(50));
    ASSERT_EQ(other->SendCommand("8108000000"), 0);
    ASSERT_TRUE(eventually([&] { return relay.hasPending(); }));
    other.reset();
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"There is no [ACK]"});
    EXPECT_EQ(port.closeCount(), 1);
}

TEST_F(LinkClose, ClosingAClosedLinkDoesNothing) {
    link.CloseLink();
    ASSERT_TRUE(open());
    link.CloseLink();
    link.CloseLink();
    EXPECT_EQ(port.closeCount(), 1);
    EXPECT_EQ(sink.count(), 0u);
}

// A frame queued but not yet written when the link closes is dropped: it must
// neither block the next SendCommand nor go out after the next opening.
TEST_F(LinkClose, AQueuedFrameIsDroppedByTheClose) {
    ASSERT_TRUE(open());
    clock.holdAt(clock.tickMs());
    ASSERT_TRUE(clock.waitHeld());
    ASSERT_EQ(link.SendCommand("0108050000"), 0);
    ASSERT_TRUE(link.framePending());
    ASSERT_TRUE(link.inExchange());
    std::thread releaser([&] {
        eventually([&] { return !link.isOpen(); });
        clock.release();
    });
    link.CloseLink();
    releaser.join();
    EXPECT_FALSE(link.framePending());
    EXPECT_FALSE(link.inExchange());
    EXPECT_TRUE(port.frameWrites().empty());

    port.respond(ackingCamera(kGood));
    ASSERT_TRUE(open());
    const size_t reads = port.readCount();
    ASSERT_TRUE(eventually([&] { return port.readCount() > reads + 20; }));
    EXPECT_TRUE(port.frameWrites().empty());
    link.clearStatus();
    ASSERT_EQ(link.SendCommand("0109000000"), 0);
    EXPECT_EQ(waitFor(LS_ACK) & LS_ACK, LS_ACK);
    EXPECT_EQ(port.frameWrites().size(), 1u);
}

// Half an answer frame before a close is not continued after the reopening.
TEST_F(LinkClose, ReopeningStartsWithAFreshParser) {
    port.respond([](const Bytes& w) -> std::vector<Bytes> {
        if (w.size() != 18) return {};
        return {{0x06}, Bytes(kGood.begin(), kGood.begin() + 5)};
    });
    ASSERT_TRUE(open());
    link.clearStatus();
    ASSERT_EQ(link.SendCommand("8108000000"), 0);
    ASSERT_TRUE(eventually([&] { return port.queueEmpty() && port.frameWrites().size() == 1; }));
    // One more pass after the queue ran dry: the half frame was parsed.
    const size_t reads = port.readCount();
    ASSERT_TRUE(eventually([&] { return port.readCount() > reads + 2; }));
    link.CloseLink();
    ASSERT_TRUE(link.inAnswerFrame());
    ASSERT_EQ(link.answerPos(), 4);

    port.respond(ackingCamera(kGood));
    const size_t before = port.writes().size();
    ASSERT_TRUE(open());
    EXPECT_EQ(sendAndWait("8108000000") & (LS_ANSWER_OK | LS_ANSWER_TIMEOUT), LS_ANSWER_OK);
    EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
    // One frame, one ACK back: no NAK for a mixed-up frame, no resend.
    const auto writes = port.writes();
    ASSERT_EQ(writes.size(), before + 2);
    EXPECT_EQ(writes[before + 1].bytes, Bytes{0x06});
}

}  // namespace
}  // namespace zr::test
