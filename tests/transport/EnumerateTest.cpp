#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>

#include "TransportFixture.h"
#include "link/ComPort.h"
#include "link/LinkStatus.h"
#include "link/SystemClock.h"

namespace zr::test {
namespace {

std::vector<int> listed(SerialLink& link) {
    std::vector<int> ports(link.comPorts().begin(), link.comPorts().end());
    ports.erase(std::remove(ports.begin(), ports.end(), -1), ports.end());
    return ports;
}

class EnumerateTest : public PtyLinkTest {
  protected:
    EnumerateTest() : camera1(clock), pty1(camera1) { ports.link(1, pty1.slavePath()); }
    sim::CameraModel camera1;
    PtyCamera pty1;
};

TEST_F(EnumerateTest, FreePortsComeInAscendingOrderAndTheRestIsMinusOne) {
    link.comPorts().fill(7);
    EnumerateComPorts(link);
    const auto& ports = link.comPorts();
    EXPECT_EQ(ports[0], 1);
    EXPECT_EQ(ports[1], 3);
    EXPECT_EQ(std::count(ports.begin(), ports.end(), -1), 253);
    EXPECT_TRUE(std::all_of(ports.begin() + 2, ports.end(), [](int p) { return p == -1; }));
    EXPECT_EQ(sink.count(), 0u);
}

TEST_F(EnumerateTest, HeldMissingAndNonTerminalPortsAreLeftOut) {
    sim::CameraModel camera200(clock);
    PtyCamera pty200(camera200);
    ports.link(200, pty200.slavePath());
    ports.link(7, ports.writeFile("plain", "x"));
    const int other = ::open(ports.entry(1).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);

    EnumerateComPorts(link);
    EXPECT_EQ(listed(link), (std::vector<int>{3, 200}));
    ::close(other);
    EnumerateComPorts(link);
    EXPECT_EQ(listed(link), (std::vector<int>{1, 3, 200}));
    EXPECT_EQ(sink.count(), 0u);
}

TEST_F(EnumerateTest, ListedPortIsLeftAt9600Raw8N1FreeAndUnlocked) {
    termios before{};
    ASSERT_EQ(tcgetattr(pty.spareSlave(), &before), 0);
    cfsetospeed(&before, B19200);
    cfsetispeed(&before, B19200);
    before.c_cflag |= PARENB | CSTOPB;
    ASSERT_EQ(tcsetattr(pty.spareSlave(), TCSANOW, &before), 0);
    const int descriptors = openDescriptorCount();

    EnumerateComPorts(link);
    termios line{};
    ASSERT_EQ(tcgetattr(pty.spareSlave(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), B9600);
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(terminalExclusive(pty.spareSlave()));
    EXPECT_TRUE(lockableByOthers(ports.entry(3)));
    EXPECT_EQ(openDescriptorCount(), descriptors);
}

TEST_F(EnumerateTest, PortOfTheOpenLinkIsNotListedAndKeepsWorking) {
    ASSERT_EQ(OpenComPort(link, "COM3 9600"), 0);
    EnumerateComPorts(link);
    EXPECT_EQ(listed(link), std::vector<int>{1});
    EXPECT_TRUE(runExchange(link, "0108050000") & LS_ACK);
    EXPECT_EQ(camera.frames().size(), 1u);
    EXPECT_EQ(camera1.frames().size(), 0u);
}

}  // namespace
}  // namespace zr::test
