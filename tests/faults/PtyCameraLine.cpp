#include "PtyCameraLine.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <stdexcept>

namespace zr::test {

PtyCameraLine::PtyCameraLine(sim::CameraModel& camera) : camera_(camera) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    char name[128];
    if (::ptsname_r(master_, name, sizeof name) != 0) throw std::runtime_error("no slave name");
    slavePath_ = name;
    // Held open so the master sees no hang-up between two users of the port.
    spare_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (spare_ < 0) throw std::runtime_error("slave does not open");
    thread_ = std::thread([this] { serve(); });
}

PtyCameraLine::~PtyCameraLine() {
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
    closeLine();
}

bool PtyCameraLine::quiet() {
    if (pulled_.load()) return true;
    if (serving_.load() || camera_.replyPending()) return false;
    int toCamera = 0;
    int toHost = 0;
    {
        // The serving thread may be pulling the line right now.
        std::lock_guard<std::mutex> lock(fdMutex_);
        if (master_ < 0) return true;
        // The spare slave shares the slave's input queue with the link's descriptor.
        if (::ioctl(master_, FIONREAD, &toCamera) != 0 || ::ioctl(spare_, FIONREAD, &toHost) != 0)
            return true;
    }
    return toCamera == 0 && toHost == 0 && !serving_.load();
}

void PtyCameraLine::closeLine() {
    std::lock_guard<std::mutex> lock(fdMutex_);
    if (spare_ >= 0) ::close(spare_);
    if (master_ >= 0) ::close(master_);
    spare_ = master_ = -1;
}

void PtyCameraLine::serve() {
    uint8_t buffer[256];
    while (!stop_.load()) {
        if (pull_.load()) {
            closeLine();
            pulled_.store(true);
            return;
        }
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 1) > 0 && (p.revents & POLLIN)) {
            serving_.store(true);
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) camera_.hostWrite(buffer, static_cast<size_t>(n));
            if (pull_.load()) continue;
        }
        for (size_t n; (n = camera_.hostRead(buffer, sizeof buffer)) > 0;) {
            size_t done = 0;
            while (done < n && !stop_.load()) {
                const ssize_t w = ::write(master_, buffer + done, n - done);
                if (w > 0) {
                    done += static_cast<size_t>(w);
                } else {
                    ::poll(nullptr, 0, 1);
                }
            }
        }
        serving_.store(false);
    }
}

}  // namespace zr::test
