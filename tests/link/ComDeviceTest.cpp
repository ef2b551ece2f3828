#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "ScriptedLinkTest.h"
#include "link/FrameCodec.h"

namespace zr::test {
namespace {

// A raw pseudo-terminal: the link gets the non-blocking slave as its COM
// device, the test plays the camera on the master.
struct RawPty {
    RawPty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
        slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios t{};
        if (slave >= 0 && ::tcgetattr(slave, &t) == 0) {
            ::cfmakeraw(&t);
            t.c_cc[VMIN] = 0;
            t.c_cc[VTIME] = 0;
            ::tcsetattr(slave, TCSANOW, &t);
        }
    }
    ~RawPty() { closeMaster(); }
    void closeMaster() {
        if (master >= 0) ::close(master);
        master = -1;
    }
    // Reads exactly n bytes from the master within a real-time limit.
    Bytes take(size_t n) {
        Bytes out;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (out.size() < n && std::chrono::steady_clock::now() < end) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 10) <= 0) continue;
            uint8_t b[64];
            const ssize_t got = ::read(master, b, std::min(sizeof b, n - out.size()));
            if (got > 0) out.insert(out.end(), b, b + got);
        }
        return out;
    }
    void give(const Bytes& bytes) {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    int master = -1;
    int slave = -1;
};

using ComDevice = ScriptedLinkTest;

TEST_F(ComDevice, ReadExchangeOverTheDescriptor) {
    RawPty pty;
    ASSERT_GE(pty.slave, 0);
    ASSERT_TRUE(link.startOnComDevice(pty.slave));
    // Virtual time stops half-way to the resend, so real-time replies are in time.
    clock.holdAt(clock.tickMs() + 500);
    link.clearStatus();
    ASSERT_EQ(link.SendCommand("8108000000"), 0);
    const auto frame = buildCommandFrame("8108000000");
    EXPECT_EQ(pty.take(18), Bytes(frame.begin(), frame.end()));
    pty.give({0x06, 0x02, '1', '2', 'A', 'B', '0', '0', 0x03, 'B', '4'});
    // Let the worker go on once the reply can be read on its side (or was).
    ASSERT_TRUE(eventually([&] {
        pollfd p{pty.slave, POLLIN, 0};
        return ::poll(&p, 1, 0) == 1 || (link.peekStatus() & LS_RX) != 0;
    }));
    clock.release();
    EXPECT_TRUE(waitFor(LS_ANSWER_OK) & LS_ACK);
    EXPECT_EQ(pty.take(1), Bytes{0x06});
    EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
    ASSERT_TRUE(eventually([&] { return idle(); }));
    EXPECT_EQ(sink.count(), 0u);
}

TEST_F(ComDevice, CloseLinkClosesTheDescriptor) {
    RawPty pty;
    ASSERT_GE(pty.slave, 0);
    ASSERT_TRUE(link.startOnComDevice(pty.slave));
    link.CloseLink();
    errno = 0;
    EXPECT_EQ(::fcntl(pty.slave, F_GETFD), -1);
    EXPECT_EQ(errno, EBADF);
}

// The device vanishes (the master side closes): reads fail or hang up at once.
// The worker keeps its passes, counts nothing as received, and the exchange
// ends in the ACK time-out as with a silent camera.
TEST_F(ComDevice, VanishedDeviceEndsInTheAckTimeout) {
    RawPty pty;
    ASSERT_GE(pty.slave, 0);
    ASSERT_TRUE(link.startOnComDevice(pty.slave));
    pty.closeMaster();
    const uint32_t start = clock.tickMs() + 10;
    clock.holdAt(start);
    ASSERT_TRUE(clock.waitHeld());
    link.clearStatus();
    ASSERT_EQ(link.SendCommand("0108050000"), 0);
    clock.release();
    EXPECT_EQ(waitFor(LS_ACK_TIMEOUT), LS_ACK_TIMEOUT);
    const auto shown = sink.messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].message.text, "There is no [ACK]");
    // Written at start + 1, then a pass per virtual millisecond.
    EXPECT_EQ(ticksSince(shown[0].tick, start), 1u + 3003u);
    EXPECT_TRUE(link.isOpen());
    link.CloseLink();
    EXPECT_FALSE(link.isOpen());
}

}  // namespace
}  // namespace zr::test
