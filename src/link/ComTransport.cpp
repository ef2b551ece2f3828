#include "link/ComTransport.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace zr {

namespace {

// Upper bound for one write to a device whose output is full.
constexpr int kComWriteLimitMs = 1000;
constexpr int kComWritePollMs = 10;

}  // namespace

uint32_t ComTransport::read(uint8_t* buffer, uint32_t count) {
    if (fd_ < 0) return 0;
    // Nothing there, a hang-up (0) and an error such as EIO from a vanished
    // device all count as no bytes; the pass goes on and the exchange ends in
    // its time-out.
    const ssize_t n = ::read(fd_, buffer, count);
    if (n < 0 && (errno == EIO || errno == ENXIO || errno == ENODEV)) vanished_ = true;
    return n > 0 ? static_cast<uint32_t>(n) : 0;
}

// One synchronous write on the non-blocking descriptor: waits for room while
// the output is full, gives up on an error or after kComWriteLimitMs. The
// library time-out does not apply to a COM device.
void ComTransport::write(const uint8_t* data, uint32_t count, uint32_t /*timeoutMs*/) {
    if (fd_ < 0) return;
    uint32_t done = 0;
    int waitedMs = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, data + done, count - done);
        if (n > 0) {
            done += static_cast<uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return;
        if (waitedMs >= kComWriteLimitMs) return;
        pollfd p{fd_, POLLOUT, 0};
        const int ready = ::poll(&p, 1, kComWritePollMs);
        waitedMs += kComWritePollMs;
        if (ready > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return;
    }
}

void ComTransport::close() {
    if (fd_ < 0) return;
    // Exclusive mode can outlive the close (a pseudo-terminal keeps it) and
    // would lock out the next opener.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace zr
