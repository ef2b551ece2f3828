#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "TransportFixture.h"
#include "link/ComPort.h"
#include "link/LinkStatus.h"
#include "link/SystemClock.h"
#include "support/FileText.h"

extern char** environ;

namespace zr::test {
namespace {

// The simulated camera program serving its own pseudo-terminal, reached
// through the port directory as a user would reach it.
class CamsimProgramTest : public ::testing::Test {
  protected:
    CamsimProgramTest()
        : clock(SystemClock::instance()), sink(&clock), relay(sink), link(relay, clock) {}
    ~CamsimProgramTest() override {
        link.CloseLink();
        stop();
    }

    // Starts the program on COM<n> and waits until it reports its terminal.
    bool start(int n) {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        const std::string program = simDir() + "/zrk880_camsim";
        const std::string number = std::to_string(n);
        const std::string log = ports.path() + "/camsim.log";
        const char* argv[] = {program.c_str(),      "--log",        log.c_str(),
                              ports.path().c_str(), number.c_str(), nullptr};
        const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr,
                                        const_cast<char* const*>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        bool ready = false;
        if (spawned == 0) {
            pollfd p{out[0], POLLIN, 0};
            char c = 0;
            ready = ::poll(&p, 1, 10000) > 0 && ::read(out[0], &c, 1) == 1;
        } else {
            pid = -1;
        }
        ::close(out[0]);
        return ready;
    }

    void stop() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
    }

    std::string logged() const { return readFile(ports.path() + "/camsim.log"); }

    PortDir ports;
    pid_t pid = -1;
    Clock& clock;
    RecordingSink sink;
    MessageRelay relay;
    SerialLink link;
};

TEST_F(CamsimProgramTest, ExchangesWithTheProgramThroughItsPortEntry) {
    ports.remove(4);
    ASSERT_TRUE(start(4));
    EXPECT_TRUE(waitUntil([&] {
        struct stat info {};
        return lstat(ports.entry(4).c_str(), &info) == 0;
    }));

    EnumerateComPorts(link);
    EXPECT_EQ(link.comPorts()[0], 4);
    EXPECT_EQ(link.comPorts()[1], -1);

    ASSERT_EQ(OpenComPort(link, " COM4  115200"), 0);
    EXPECT_TRUE(runExchange(link, "0108050000") & LS_ACK);
    EXPECT_TRUE(runExchange(link, "8108000000") & LS_ANSWER_OK);
    EXPECT_EQ(link.TakeAnswer({9, 9, 9}), (AnswerBytes{0x05, 0x00, 0x00}));
    EXPECT_TRUE(waitUntil([&] { return logged() == "0108050000\n8108000000\n"; })) << logged();
    EXPECT_EQ(sink.count(), 0u);

    link.CloseLink();
    stop();
    struct stat info {};
    EXPECT_NE(lstat(ports.entry(4).c_str(), &info), 0);
}

}  // namespace
}  // namespace zr::test
