#include "pty/Ser2netProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace zr::sim {

namespace {

// Whether something listens on the loopback port, read from the kernel's
// table rather than by connecting: a connection would make ser2net open the
// device, and a second one right after it may find the device still taken.
bool listening(uint16_t port) {
    char local[16];
    std::snprintf(local, sizeof local, "0100007F:%04X", port);
    std::ifstream table("/proc/net/tcp");
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::string slot, address, remote, state;
        fields >> slot >> address >> remote >> state;
        if (address == local && state == "0A") return true;
    }
    return false;
}

}  // namespace

uint16_t Ser2netProcess::freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    uint16_t port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0) ::close(fd);
    return port;
}

bool Ser2netProcess::installed() {
    return ::system("command -v ser2net >/dev/null 2>&1") == 0;
}

Ser2netProcess::Ser2netProcess(const std::string& device,
                               const std::vector<std::string>& accepters) {
    char resolved[PATH_MAX];
    device_ = ::realpath(device.c_str(), resolved) ? resolved : device;
    std::string pattern = (std::filesystem::temp_directory_path() / "zr-ser2net-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) dir_ = pattern;
    std::ostringstream config;
    config << "%YAML 1.1\n---\n";
    for (size_t i = 0; i < accepters.size(); ++i) {
        ports_.push_back(freePort());
        config << "connection: &port" << i << "\n"
               << "  accepter: " << (accepters[i] == "tcp" ? "" : accepters[i] + ",")
               << "tcp,127.0.0.1," << ports_.back() << "\n"
               << "  enable: on\n"
               << "  options:\n    kickolduser: true\n"
               << "  connector: serialdev," << device_ << ",115200n81,local\n";
    }
    const std::string configFile = file("ser2net.yaml");
    std::ofstream(configFile) << config.str();
    const std::string logFile = file("ser2net.log");
    const std::string pidFile = file("ser2net.pid");
    pid_ = ::fork();
    if (pid_ == 0) {
        const int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (log >= 0) {
            ::dup2(log, 1);
            ::dup2(log, 2);
        }
        ::execlp("ser2net", "ser2net", "-n", "-u", "-c", configFile.c_str(), "-P", pidFile.c_str(),
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
}

Ser2netProcess::~Ser2netProcess() {
    kill();
    std::error_code ignored;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

bool Ser2netProcess::ready() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (const uint16_t port : ports_) {
        while (!listening(port)) {
            int status = 0;
            if (pid_ < 0 || ::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return false;
            }
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    return true;
}

bool Ser2netProcess::waitDeviceReleased() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        bool held = false;
        std::error_code ec;
        const std::string fds = "/proc/" + std::to_string(pid_) + "/fd";
        for (const auto& fd : std::filesystem::directory_iterator(fds, ec)) {
            std::error_code linkError;
            if (std::filesystem::read_symlink(fd.path(), linkError) == device_) held = true;
        }
        if (!held || pid_ <= 0) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void Ser2netProcess::kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string Ser2netProcess::log() const {
    std::ifstream in(file("ser2net.log"));
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace zr::sim
