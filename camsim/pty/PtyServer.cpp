#include "pty/PtyServer.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

namespace zr::sim {

namespace {

std::string errnoText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

PtyServer::PtyServer(CameraModel& model, uint32_t paceBaud)
    : model_(model), inbound_(paceBaud), outbound_(paceBaud) {
    // Paced bytes are due microseconds apart; the default timer slack of
    // 50 us would add up over a frame.
    if (paceBaud != 0) ::prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
}

PtyServer::~PtyServer() {
    stop();
    unlink();
    closeLine();
}

void PtyServer::closeLine() {
    std::lock_guard<std::mutex> lock(fdMutex_);
    if (heldSlave_ >= 0) ::close(heldSlave_);
    if (master_ >= 0) ::close(master_);
    heldSlave_ = master_ = -1;
}

bool PtyServer::start(std::string& error) {
    if (thread_.joinable()) return true;
    if (::pipe2(stopPipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = errnoText("pipe2");
        return false;
    }
    thread_ = std::thread([this] { serve(stopPipe_[0], false); });
    return true;
}

void PtyServer::stop() {
    if (thread_.joinable()) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(stopPipe_[1], &byte, 1);
        thread_.join();
    }
    for (int& fd : stopPipe_) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

bool PtyServer::quiet() {
    if (pulled_.load()) return true;
    if (serving_.load() || model_.replyPending()) return false;
    int toCamera = 0;
    int toHost = 0;
    {
        // The serving thread may be pulling the line right now.
        std::lock_guard<std::mutex> lock(fdMutex_);
        if (master_ < 0) return true;
        // The held slave shares the slave's input queue with the user's descriptor.
        if (::ioctl(master_, FIONREAD, &toCamera) != 0 ||
            ::ioctl(heldSlave_, FIONREAD, &toHost) != 0)
            return true;
    }
    // Bytes may have been taken in (and a reply made) since the first look.
    return toCamera == 0 && toHost == 0 && !serving_.load() && !model_.replyPending();
}

bool PtyServer::open(std::string& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0) {
        error = errnoText("posix_openpt");
        return false;
    }
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = errnoText("grantpt/unlockpt");
        return false;
    }
    char name[256];
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        error = errnoText("ptsname");
        return false;
    }
    slavePath_ = name;
    heldSlave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (heldSlave_ < 0) {
        error = errnoText("open " + slavePath_);
        return false;
    }
    return true;
}

bool PtyServer::link(const std::string& dir, int port, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(dir, ec);
    const std::string path = dir + "/COM" + std::to_string(port);
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        error = path + " exists and is not a symbolic link";
        return false;
    }
    // Link under a temporary name and rename it into place, so a reader
    // never sees the port missing or half made.
    const std::string temp = path + ".camsim" + std::to_string(::getpid());
    ::unlink(temp.c_str());
    if (::symlink(slavePath_.c_str(), temp.c_str()) != 0) {
        error = errnoText("symlink " + path);
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        error = errnoText("rename to " + path);
        ::unlink(temp.c_str());
        return false;
    }
    linkPath_ = path;
    return true;
}

void PtyServer::unlink() {
    if (linkPath_.empty()) return;
    char target[256];
    const ssize_t n = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
    if (n > 0 && std::string(target, static_cast<size_t>(n)) == slavePath_)
        ::unlink(linkPath_.c_str());
    linkPath_.clear();
}

void PtyServer::readMaster() {
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            inbound_.push(std::string(buffer, static_cast<size_t>(n)), BytePacer::Clock::now());
            fromHost_.fetch_add(static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return;  // EAGAIN, or EIO while nobody has the slave open
    }
}

void PtyServer::writeMaster() {
    while (!unwritten_.empty()) {
        const ssize_t n = ::write(master_, unwritten_.data(), unwritten_.size());
        if (n > 0) {
            unwritten_.erase(0, static_cast<size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return;  // full: poll tells when to go on
        }
    }
}

// Moves bytes along: paced host bytes into the model, due replies out of it.
void PtyServer::pump() {
    const auto now = BytePacer::Clock::now();
    const std::string in = inbound_.takeDue(now);
    if (!in.empty()) model_.hostWrite(reinterpret_cast<const uint8_t*>(in.data()), in.size());
    // Pulled while the model took the bytes in: it gets no chance to answer.
    if (pull_.load()) return;
    uint8_t buffer[256];
    for (size_t n; (n = model_.hostRead(buffer, sizeof buffer)) > 0;) {
        outbound_.push(std::string(reinterpret_cast<char*>(buffer), n), now);
    }
    unwritten_ += outbound_.takeDue(now);
    writeMaster();
}

bool PtyServer::idle() const {
    return inbound_.empty() && outbound_.empty() && unwritten_.empty();
}

// How long poll may sleep: until the next paced byte is due, to the
// microsecond (a byte at 115200 bit/s takes 87 us), or until the model's next
// delayed reply; nullopt waits for input alone.
std::optional<timespec> PtyServer::pollTimeout() const {
    const auto now = BytePacer::Clock::now();
    std::optional<BytePacer::Clock::time_point> wake;
    auto consider = [&wake](std::optional<BytePacer::Clock::time_point> due) {
        if (due && (!wake || *due < *wake)) wake = due;
    };
    consider(inbound_.nextDue());
    consider(outbound_.nextDue());
    if (model_.replyPending()) {
        const auto ms = std::max<uint32_t>(1, model_.msUntilReplyDue());
        consider(now + std::chrono::milliseconds(ms));
    }
    if (modelPoll_) consider(now + *modelPoll_);
    if (!wake) return std::nullopt;
    const auto wait = std::max(*wake - now, BytePacer::Clock::duration::zero());
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

void PtyServer::serve(int stopFd, bool watchStdin) {
    for (;;) {
        pump();
        if (pull_.load()) {
            closeLine();
            pulled_.store(true);
            return;
        }
        serving_.store(!idle());
        pollfd fds[3] = {{master_, POLLIN, 0}, {stopFd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (!unwritten_.empty()) fds[0].events |= POLLOUT;
        const nfds_t count = watchStdin ? 3 : 2;
        const std::optional<timespec> timeout = pollTimeout();
        const int ready = ::ppoll(fds, count, timeout ? &*timeout : nullptr, nullptr);
        if (ready < 0 && errno != EINTR) return;
        if (ready <= 0) continue;
        if (fds[1].revents != 0) return;
        if (watchStdin && fds[2].revents != 0) {
            char sink[256];
            const ssize_t n = ::read(STDIN_FILENO, sink, sizeof sink);
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) return;
        }
        if (fds[0].revents & POLLIN) {
            // Set before the bytes leave the master, so that quiet() always
            // finds them somewhere: in the master or being served.
            serving_.store(true);
            readMaster();
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // No slave side to talk to: wait instead of spinning on the hang-up.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

}  // namespace zr::sim
