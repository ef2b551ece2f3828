#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
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

// A bare pseudo-terminal entered as COM5, as a terminal program would use it:
// raw at 19200 with parity, input waiting to be read. Its holder is either
// this process or a child process that opened the slave without any lock.
class BareTerminal {
  public:
    BareTerminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        char name[128];
        if (ptsname_r(master_, name, sizeof name) != 0) return;
        slavePath_ = name;
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    }
    ~BareTerminal() {
        releaseHolder();
        if (slave_ >= 0) ::close(slave_);
        if (master_ >= 0) ::close(master_);
    }
    BareTerminal(const BareTerminal&) = delete;
    BareTerminal& operator=(const BareTerminal&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    int slave() const { return slave_; }
    int master() const { return master_; }

    // Another process opens the slave, no flock, no TIOCEXCL, and keeps it
    // until released.
    bool startHolder() {
        int ready[2], hold[2];
        if (pipe2(ready, O_CLOEXEC) != 0 || pipe2(hold, O_CLOEXEC) != 0) return false;
        const char* path = slavePath_.c_str();
        holder_ = fork();
        if (holder_ == 0) {
            // Only the slave: a copy of our master would make it the terminal's server.
            for (int fd = 3; fd < 1024; ++fd) {
                if (fd != ready[1] && fd != hold[0]) ::close(fd);
            }
            const int fd = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK);
            const char ok = fd >= 0 ? 'y' : 'n';
            if (::write(ready[1], &ok, 1) != 1) _exit(1);
            char ignored;
            while (::read(hold[0], &ignored, 1) > 0) {
            }
            _exit(0);
        }
        ::close(ready[1]);
        ::close(hold[0]);
        holdFd_ = hold[1];
        char ok = 'n';
        const bool started = holder_ > 0 && ::read(ready[0], &ok, 1) == 1 && ok == 'y';
        ::close(ready[0]);
        return started;
    }
    void releaseHolder() {
        if (holder_ <= 0) return;
        ::close(holdFd_);
        ::waitpid(holder_, nullptr, 0);
        holder_ = -1;
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    pid_t holder_ = -1;
    int holdFd_ = -1;
};

std::string lineSettings(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return "unreadable";
    std::string text = std::to_string(t.c_iflag) + "/" + std::to_string(t.c_oflag) + "/" +
                       std::to_string(t.c_cflag) + "/" + std::to_string(t.c_lflag) + "/" +
                       std::to_string(cfgetispeed(&t)) + "/" + std::to_string(cfgetospeed(&t));
    for (cc_t c : t.c_cc) text += "," + std::to_string(c);
    return text;
}

TEST_F(EnumerateTest, ProbeLeavesLineSettingsAndQueuedInputAloneAndSkipsHeldPorts) {
    struct Case {
        bool heldByAnotherProcess;
        std::vector<int> listed;
    };
    for (const Case& c : {Case{false, {1, 3, 5}}, Case{true, {1, 3}}}) {
        SCOPED_TRACE(c.heldByAnotherProcess ? "held by another process" : "free");
        BareTerminal terminal;
        ASSERT_GE(terminal.slave(), 0);
        ports.link(5, terminal.slavePath());
        termios line{};
        ASSERT_EQ(tcgetattr(terminal.slave(), &line), 0);
        cfmakeraw(&line);
        line.c_cflag |= PARENB | CSTOPB;
        cfsetspeed(&line, B19200);
        ASSERT_EQ(tcsetattr(terminal.slave(), TCSANOW, &line), 0);
        ASSERT_EQ(::write(terminal.master(), "queued", 6), 6);
        ASSERT_TRUE(eventually([&] {
            int queued = 0;
            return ioctl(terminal.slave(), FIONREAD, &queued) == 0 && queued == 6;
        }));
        if (c.heldByAnotherProcess) {
            ASSERT_TRUE(terminal.startHolder());
        }
        const std::string before = lineSettings(terminal.slave());
        const std::vector<std::string> descriptors = openDescriptorTargets();

        EnumerateComPorts(link);
        EXPECT_EQ(listed(link), c.listed);
        EXPECT_EQ(lineSettings(terminal.slave()), before);
        char input[16] = {};
        EXPECT_EQ(::read(terminal.slave(), input, sizeof input), 6);
        EXPECT_STREQ(input, "queued");
        EXPECT_FALSE(terminalExclusive(terminal.slave()));
        EXPECT_TRUE(lockableByOthers(ports.entry(5)));
        // The probe keeps nothing open. Compared by target, not by count: the
        // test runtime's own threads (the sanitizers') open and close files
        // of their own meanwhile.
        EXPECT_EQ(descriptorsGained(descriptors, openDescriptorTargets()),
                  std::vector<std::string>{});
        EXPECT_EQ(sink.count(), 0u);
    }
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
