#include "SimProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace zr::bench {

namespace {

constexpr int kReadyLimitMs = 10000;

// The first line the program prints (its terminal's path) tells it is ready.
bool readFirstLine(int fd, std::string& line) {
    char c = 0;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, kReadyLimitMs) <= 0) return false;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        if (c == '\n') return true;
        line += c;
    }
}

}  // namespace

bool SimProcess::start(const std::string& program, std::vector<std::string> options,
                       std::string& error) {
    char dirTemplate[] = "/tmp/zrk880-bench-XXXXXX";
    if (!::mkdtemp(dirTemplate)) {
        error = std::string("mkdtemp: ") + std::strerror(errno);
        return false;
    }
    portDir_ = dirTemplate;

    int out[2];
    int in[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(in, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    std::vector<std::string> args = std::move(options);
    args.insert(args.begin(), program);
    args.insert(args.end(), {"--stdin-eof", portDir_, std::to_string(kPort)});
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    const int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(in[0]);
    stdinFd_ = in[1];
    if (spawned != 0) {
        pid_ = -1;
        ::close(out[0]);
        error = program + ": " + std::strerror(spawned);
        return false;
    }
    std::string slave;
    const bool ready = readFirstLine(out[0], slave);
    ::close(out[0]);
    if (!ready) {
        error = program + " did not report its terminal";
        return false;
    }
    return true;
}

SimProcess::~SimProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }
    if (stdinFd_ >= 0) ::close(stdinFd_);
    stdinFd_ = -1;
    if (!portDir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(portDir_, ec);
        portDir_.clear();
    }
}

}  // namespace zr::bench
