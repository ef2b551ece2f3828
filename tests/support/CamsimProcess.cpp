#include "support/CamsimProcess.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

extern char** environ;

namespace zr::test {

std::string simDir() {
    const char* dir = std::getenv("ZR_SIM_DIR");
    if (dir && *dir) return dir;
    ADD_FAILURE() << "ZR_SIM_DIR is not set";
    return "/nonexistent";
}

CamsimProcess::CamsimProcess(const std::string& portDir, int port,
                             const std::vector<std::string>& options) {
    std::vector<std::string> args = {simDir() + "/zrk880_camsim"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(portDir);
    args.push_back(std::to_string(port));
    int out[2], in[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    if (::pipe2(in, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(in[0]);
    stdout_ = out[0];
    stdin_ = in[1];
    // The program prints the terminal's path once the COM entry is in place.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string line;
    pollfd p{stdout_, POLLIN, 0};
    while (pid_ > 0 && std::chrono::steady_clock::now() < end) {
        if (::poll(&p, 1, 100) <= 0) continue;
        char c = 0;
        if (::read(stdout_, &c, 1) != 1) break;
        if (c == '\n') {
            slavePath_ = line;
            break;
        }
        line += c;
    }
}

CamsimProcess::~CamsimProcess() {
    stop();
    closeStdin();
}

int CamsimProcess::stop(int sig) {
    if (pid_ <= 0) return -1;
    if (sig != 0) ::kill(pid_, sig);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    ::close(stdout_);
    stdout_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void CamsimProcess::closeStdin() {
    if (stdin_ >= 0) ::close(stdin_);
    stdin_ = -1;
}

}  // namespace zr::test
