#include <gtest/gtest.h>

#include "link/LinkStatus.h"
#include "link/SystemClock.h"
#include "support/SimLinkFixture.h"

namespace zr::test {
namespace {

// The one exchange on the real clock and real sleeps: a write and a read with
// the camera replying after a short real delay.
TEST(RealTimeLink, WriteThenReadOnTheSystemClock) {
    SimLinkFixture f(&SystemClock::instance());
    ASSERT_TRUE(f.open());
    f.camera.updateFaults([](sim::FaultSettings& s) {
        s.ackDelayMs = 20;
        s.answerDelayMs = 20;
    });
    f.link.clearStatus();
    ASSERT_EQ(f.link.SendCommand("0108050000"), 0);
    const uint32_t seen = f.sendAndWait("8108000000");
    EXPECT_EQ(seen & (LS_ANSWER_OK | LS_ACK_TIMEOUT | LS_ANSWER_TIMEOUT), LS_ANSWER_OK);
    EXPECT_EQ(f.link.TakeAnswer({0, 0, 0}), (AnswerBytes{0x05, 0x00, 0x00}));
    EXPECT_EQ(f.camera.commandTexts(), (std::vector<std::string>{"0108050000", "8108000000"}));
    EXPECT_EQ(f.sink.count(), 0u);
    f.close();
    EXPECT_FALSE(f.link.isOpen());
}

}  // namespace
}  // namespace zr::test
