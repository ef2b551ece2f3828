// Bulk operations end to end: the simulated camera program on a real
// pseudo-terminal, entered as COM3 in a temporary port directory and opened
// through the COM port path, on the real clock.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "link/ComPort.h"
#include "link/SystemClock.h"
#include "params/BulkOperations.h"
#include "support/RecordingSink.h"
#include "support/WireText.h"

extern char** environ;

namespace zr {
namespace {

namespace fs = std::filesystem;
using test::cameraValue;

// zrk880_camsim serving COM<port> in a fresh directory, logging every command
// text it receives. Its standard input is a pipe we hold, so it also ends if
// the test dies.
class CamsimProgram {
  public:
    CamsimProgram(const std::string& program, int port) {
        char pattern[] = "/tmp/zrparams-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        log_ = dir_ + "/frames.log";
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        const std::string portText = std::to_string(port);
        std::vector<std::string> args = {program, "--log", log_, "--stdin-eof", dir_, portText};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        stdin_ = in[1];
        // The program prints the terminal's path once the COM entry is in place.
        char c = 0;
        while (pid_ > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') ready_ += c;
        ::close(out[0]);
    }

    ~CamsimProgram() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        if (stdin_ >= 0) ::close(stdin_);
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    bool ready() const { return pid_ > 0 && !ready_.empty(); }
    const std::string& dir() const { return dir_; }

    std::vector<std::string> loggedTexts() const {
        std::vector<std::string> lines;
        std::ifstream in(log_);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

  private:
    std::string dir_;
    std::string log_;
    std::string ready_;
    pid_t pid_ = -1;
    int stdin_ = -1;
};

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
            had_ = true;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { had_ ? (void)::setenv(name_, old_.c_str(), 1) : (void)::unsetenv(name_); }

  private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

TEST(BulkOverPty, WriteThenReadFromCameraThroughTheSimulatorProgram) {
    const char* simDir = std::getenv("ZR_SIM_DIR");
    ASSERT_NE(simDir, nullptr) << "ZR_SIM_DIR must name <build>/camsim";
    const std::string program = std::string(simDir) + "/zrk880_camsim";
    ASSERT_TRUE(fs::exists(program)) << program;

    CamsimProgram camera(program, 3);
    ASSERT_TRUE(camera.ready());
    ScopedEnv portDir("ZRK880_PORT_DIR", camera.dir());

    test::RecordingSink sink;
    MessageRelay relay(sink);
    SerialLink link(relay, SystemClock::instance());
    ASSERT_EQ(OpenComPort(link, "COM3 9600"), 0) << testing::PrintToString(sink.texts());
    ParamAccess params(link);
    BulkOperations bulk(params);
    int refreshes = 0;
    bulk.setRefreshHook([&] { ++refreshes; });

    // Give the camera values that differ from the defaults, forget them here,
    // then learn them back from the camera.
    std::vector<std::string> expected;
    for (int row = 0; row < 50; ++row) {
        params.table()[row].value = cameraValue(params.table()[row]);
        expected.push_back(test::expectedWrite(params.table()[row], params.table()[row].value));
    }
    bulk.WriteToCamera();
    for (int row = 0; row < 50; ++row) {
        params.table()[row].value = CameraParamTable::defaults()[row].value;
    }
    bulk.ReadFromCamera();
    link.CloseLink();

    for (int row = 0; row < 50; ++row) {
        EXPECT_EQ(params.table()[row].value, cameraValue(params.table()[row])) << "row " << row;
    }
    EXPECT_EQ(params.table()[50].value, 0);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(sink.count(), 0u) << testing::PrintToString(sink.texts());
    // Every frame arrived with a good checksum (no " BAD" mark), in order.
    for (int row = 0; row < UserParamCount; ++row) {
        expected.push_back(test::expectedRead(params.table()[row]));
    }
    EXPECT_EQ(camera.loggedTexts(), expected);
}

}  // namespace
}  // namespace zr
