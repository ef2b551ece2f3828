#include "pty/SimProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

extern char** environ;

namespace zr::sim {

namespace {

constexpr auto kReadyLimit = std::chrono::seconds(10);

// The first line the program prints: its terminal's path.
bool readFirstLine(int fd, std::string& line) {
    const auto end = std::chrono::steady_clock::now() + kReadyLimit;
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        if (c == '\n') return true;
        line += c;
    }
    return false;
}

}  // namespace

SimProgram::~SimProgram() {
    stop();
    closeStdin();
}

bool SimProgram::start(const std::string& program, const std::vector<std::string>& options,
                       const std::string& portDir, int port, std::string& error) {
    std::vector<std::string> args = {program};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(portDir);
    args.push_back(std::to_string(port));
    int out[2];
    int in[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    if (::pipe2(in, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        ::close(out[0]);
        ::close(out[1]);
        return false;
    }
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
    stdout_ = out[0];
    stdin_ = in[1];
    if (spawned != 0) {
        pid_ = -1;
        error = program + ": " + std::strerror(spawned);
        return false;
    }
    std::string line;
    if (!readFirstLine(stdout_, line)) {
        error = program + " did not report its terminal";
        return false;
    }
    slavePath_ = line;
    return true;
}

int SimProgram::stop(int sig) {
    int status = -1;
    if (pid_ > 0) {
        if (sig != 0) ::kill(pid_, sig);
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }
    // Only now: what the program prints on its way out must not meet a
    // closed pipe.
    if (stdout_ >= 0) ::close(stdout_);
    stdout_ = -1;
    return status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void SimProgram::closeStdin() {
    if (stdin_ >= 0) ::close(stdin_);
    stdin_ = -1;
}

}  // namespace zr::sim
