#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "model/FrameCodec.h"
#include "support/CamsimProcess.h"
#include "support/FileText.h"

namespace {

using zr::test::simDir;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Reads until `count` bytes came or a generous safety limit passed.
std::string readBytes(int fd, size_t count, std::chrono::milliseconds limit = 5000ms) {
    std::string got;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (got.size() < count && std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, count - got.size()));
        if (n > 0) got.append(buffer, static_cast<size_t>(n));
        if (n == 0) break;
    }
    return got;
}

fs::path freshDir() {
    static int counter = 0;
    const fs::path dir = fs::temp_directory_path() / ("camsim-test-" + std::to_string(::getpid()) +
                                                      "-" + std::to_string(counter++));
    fs::create_directories(dir);
    return dir;
}

// One run of the simulator program in a fresh port directory.
class CamsimRun : public zr::test::CamsimProcess {
  public:
    explicit CamsimRun(const std::vector<std::string>& options, int port = 4,
                       const fs::path& dir = freshDir())
        : CamsimProcess(dir.string(), port, options),
          dir_(dir),
          linkPath_(dir / ("COM" + std::to_string(port))) {}
    ~CamsimRun() {
        stop();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // Opens the port as the panel would and makes it raw.
    int openPort() const {
        const int fd = ::open(linkPath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            termios t{};
            ::tcgetattr(fd, &t);
            ::cfmakeraw(&t);
            ::cfsetspeed(&t, B9600);
            ::tcsetattr(fd, TCSANOW, &t);
        }
        return fd;
    }
    const fs::path& linkPath() const { return linkPath_; }

  private:
    fs::path dir_;
    fs::path linkPath_;
};

std::string exchange(int fd, const std::string& text, size_t replyBytes) {
    const std::string frame = zr::sim::commandFrame(text);
    EXPECT_EQ(::write(fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    return readBytes(fd, replyBytes);
}

TEST(PtyProgram, PrintsTheSlaveAndLinksIt) {
    CamsimRun sim({});
    ASSERT_EQ(sim.slavePath().rfind("/dev/pts/", 0), 0u) << sim.slavePath();
    EXPECT_EQ(fs::read_symlink(sim.linkPath()).string(), sim.slavePath());
}

TEST(PtyProgram, ExchangesFramesAndLogsThem) {
    const fs::path log = fs::temp_directory_path() / ("camsim-log-" + std::to_string(::getpid()));
    fs::remove(log);
    CamsimRun sim({"--log", log.string()});
    const int fd = sim.openPort();
    ASSERT_GE(fd, 0);
    EXPECT_EQ(exchange(fd, "8111000000", 11), "\x06" + zr::sim::answerFrame(0x034200, 0x03));
    ASSERT_EQ(::write(fd, "\x06", 1), 1);
    EXPECT_EQ(exchange(fd, "0108050000", 1), "\x06");
    EXPECT_EQ(exchange(fd, "8108000000", 11), "\x06" + zr::sim::answerFrame(0x050000, 0x03));
    ::close(fd);
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_EQ(zr::test::readFile(log), "8111000000\n0108050000\n8108000000\n");
    fs::remove(log);
}

TEST(PtyProgram, FaultOptionsReachTheModel) {
    CamsimRun sim({"--nak"});
    const int fd = sim.openPort();
    ASSERT_GE(fd, 0);
    EXPECT_EQ(exchange(fd, "0108050000", 1), "\x15");
    ::close(fd);
}

TEST(PtyProgram, LeavesTheLineSettingsToTheSlave) {
    CamsimRun sim({});
    const int fd = sim.openPort();
    ASSERT_GE(fd, 0);
    termios before{};
    ::tcgetattr(fd, &before);
    exchange(fd, "0108050000", 1);
    termios after{};
    ::tcgetattr(fd, &after);
    EXPECT_EQ(::cfgetospeed(&after), B9600);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    ::close(fd);
}

TEST(PtyProgram, ServesAgainAfterThePortWasClosedWithoutSpinning) {
    CamsimRun sim({});
    int fd = sim.openPort();
    ASSERT_GE(fd, 0);
    EXPECT_EQ(exchange(fd, "0108050000", 1), "\x06");
    ::close(fd);

    // Idle with nobody on the port: the program must sleep, not spin.
    auto cpuTicks = [&sim] {
        std::ifstream stat("/proc/" + std::to_string(sim.pid()) + "/stat");
        std::string field;
        for (int i = 0; i < 13; ++i) stat >> field;
        long user = 0;
        long system = 0;
        stat >> user >> system;
        return user + system;
    };
    const long before = cpuTicks();
    std::this_thread::sleep_for(500ms);
    EXPECT_LT(cpuTicks() - before, ::sysconf(_SC_CLK_TCK) / 5);

    fd = sim.openPort();
    ASSERT_GE(fd, 0);
    EXPECT_EQ(exchange(fd, "8108000000", 11), "\x06" + zr::sim::answerFrame(0x050000, 0x03));
    ::close(fd);
}

TEST(PtyProgram, PacingTakesAtLeastTheLineTime) {
    CamsimRun sim({"--pace", "1200", "--merge"});
    const int fd = sim.openPort();
    ASSERT_GE(fd, 0);
    const auto start = std::chrono::steady_clock::now();
    // 18 bytes out and 11 back at 1200 baud take 29 * 8.3 ms, about 240 ms.
    EXPECT_EQ(exchange(fd, "8108000000", 11).size(), 11u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
    ::close(fd);
}

TEST(PtyProgram, EndsOnStdinEofWhenAskedAndRemovesTheLink) {
    CamsimRun sim({"--stdin-eof"});
    ASSERT_TRUE(fs::is_symlink(sim.linkPath()));
    sim.closeStdin();
    EXPECT_EQ(sim.stop(0), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(sim.linkPath())));
}

TEST(PtyProgram, SigintRemovesTheLink) {
    CamsimRun sim({});
    EXPECT_EQ(sim.stop(SIGINT), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(sim.linkPath())));
}

TEST(PtyProgram, ReplacesAStaleLinkButNotAFile) {
    const fs::path dir = fs::temp_directory_path() / ("camsim-stale-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::create_symlink("/dev/pts/nonexistent", dir / "COM7");
    std::ofstream(dir / "COM8") << "not a port";
    const std::string program = simDir() + "/zrk880_camsim";
    const std::string run = program + " --stdin-eof " + dir.string();
    EXPECT_EQ(std::system((run + " 7 </dev/null >/dev/null").c_str()), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "COM7")));
    const int status = std::system((run + " 8 </dev/null >/dev/null 2>&1").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_TRUE(fs::is_regular_file(dir / "COM8"));
    fs::remove_all(dir);
}

TEST(PtyProgram, HelpAndBadArguments) {
    const std::string program = simDir() + "/zrk880_camsim";
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --help >/dev/null").c_str())), 0);
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --bogus /tmp 3 2>/dev/null").c_str())), 2);
    EXPECT_EQ(WEXITSTATUS(std::system((program + " /tmp 0 2>/dev/null").c_str())), 2);
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --delay x /tmp 3 2>/dev/null").c_str())), 2);
}

}  // namespace
