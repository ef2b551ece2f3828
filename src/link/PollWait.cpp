#include "link/PollWait.h"

#include <poll.h>

namespace zr {

namespace {

constexpr size_t kMaxFds = 8;

}  // namespace

WaitResult pollDescriptors(const int* fds, size_t count, int timeoutMs) {
    pollfd polled[kMaxFds];
    size_t slot[kMaxFds];
    nfds_t used = 0;
    for (size_t i = 0; i < count && used < kMaxFds; ++i) {
        if (fds[i] < 0) continue;
        polled[used] = {fds[i], POLLIN, 0};
        slot[used++] = i;
    }
    WaitResult result;
    if (::poll(polled, used, timeoutMs) <= 0) return result;
    for (nfds_t k = 0; k < used; ++k) {
        const short ev = polled[k].revents;
        if (ev & POLLIN) result.readable |= 1u << slot[k];
        // A terminal whose other end has gone reads as readable too, for
        // ever: the hang-up is what counts.
        if (ev & (POLLHUP | POLLERR | POLLNVAL)) result.broken |= 1u << slot[k];
    }
    return result;
}

}  // namespace zr
