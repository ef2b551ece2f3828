#include "PtyCamera.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <stdexcept>

namespace zr::test {

PtyCamera::PtyCamera(sim::CameraModel& model) : model_(model) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) throw std::runtime_error("no slave name");
    slavePath_ = name;
    spare_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (spare_ < 0) throw std::runtime_error("slave does not open");
    thread_ = std::thread([this] { serve(); });
}

PtyCamera::~PtyCamera() {
    vanish();
}

void PtyCamera::vanish() {
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
    if (spare_ >= 0) ::close(spare_);
    if (master_ >= 0) ::close(master_);
    spare_ = master_ = -1;
}

void PtyCamera::serve() {
    uint8_t buffer[256];
    while (!stop_.load()) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 1) > 0 && (p.revents & POLLIN)) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) {
                model_.hostWrite(buffer, static_cast<size_t>(n));
                fromHost_ += static_cast<size_t>(n);
            }
        }
        for (;;) {
            const size_t n = model_.hostRead(buffer, sizeof buffer);
            if (n == 0) break;
            size_t done = 0;
            while (done < n && !stop_.load()) {
                const ssize_t w = ::write(master_, buffer + done, n - done);
                if (w > 0)
                    done += static_cast<size_t>(w);
                else
                    ::poll(nullptr, 0, 1);
            }
        }
    }
}

}  // namespace zr::test
