#include <memory>

#include "TransportFixture.h"
#include "link/ComPort.h"
#include "link/LinkStatus.h"

namespace zr::test {
namespace {

// The USB adapter is pulled (the pseudo-terminal's master closes) while the
// link is open.
class VanishTest : public ::testing::Test {
  protected:
    VanishTest()
        : clock(5),
          camera(clock),
          pty(std::make_unique<PtyCamera>(camera)),
          sink(&clock),
          relay(sink),
          link(relay, clock) {
        ports.link(3, pty->slavePath());
    }
    ~VanishTest() override { link.CloseLink(); }

    PortDir ports;
    ScaledClock clock;
    sim::CameraModel camera;
    std::unique_ptr<PtyCamera> pty;
    RecordingSink sink;
    MessageRelay relay;
    SerialLink link;
};

TEST_F(VanishTest, ExchangeEndsInItsTimeOutAndTheLinkOpensAgain) {
    ASSERT_EQ(OpenComPort(link, "COM3 9600"), 0);
    ASSERT_TRUE(runExchange(link, "0108050000") & LS_ACK);

    pty->vanish();
    const uint64_t ticksBefore = clock.ticks();
    const uint64_t sleepsBefore = clock.sleeps();
    const uint32_t seen = runExchange(link, "0108050000");
    EXPECT_EQ(seen & (LS_ACK | LS_ACK_TIMEOUT), LS_ACK_TIMEOUT);
    ASSERT_EQ(sink.count(), 1u);
    const Message m = sink.messages()[0].message;
    EXPECT_EQ(m.text, "There is no [ACK]");
    EXPECT_EQ(m.caption, "NO RESPONSE ");
    EXPECT_TRUE(m.systemModal);
    // The worker kept its pace: one sleep per pass, not a spin on the hung-up
    // descriptor.
    const uint64_t sleeps = clock.sleeps() - sleepsBefore;
    const uint64_t ticks = clock.ticks() - ticksBefore;
    EXPECT_GT(sleeps, 0u);
    EXPECT_LE(ticks, 3 * sleeps + 10);
    EXPECT_TRUE(link.isOpen());

    link.CloseLink();
    EXPECT_FALSE(link.isOpen());

    pty = std::make_unique<PtyCamera>(camera);
    ports.link(3, pty->slavePath());
    camera.clearLog();
    sink.clear();
    ASSERT_EQ(OpenComPort(link, "COM3 9600"), 0);
    EXPECT_TRUE(runExchange(link, "0108050000") & LS_ACK);
    EXPECT_EQ(camera.frames().size(), 1u);
    EXPECT_EQ(sink.count(), 0u);
}

}  // namespace
}  // namespace zr::test
