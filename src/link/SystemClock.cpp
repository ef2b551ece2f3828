#include "link/SystemClock.h"

#include <poll.h>

#include <chrono>
#include <thread>

namespace zr {

namespace {

constexpr size_t kMaxFds = 4;

// The descriptors worth polling for input: absent ones (-1) are left out.
nfds_t pollSet(const int* fds, size_t count, pollfd (&polled)[kMaxFds]) {
    nfds_t used = 0;
    for (size_t i = 0; i < count && used < kMaxFds; ++i) {
        if (fds[i] >= 0) polled[used++] = {fds[i], POLLIN, 0};
    }
    return used;
}

}  // namespace

uint32_t SystemClock::tickMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SystemClock::sleepMs(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SystemClock::sleepUnlessReadable(uint32_t ms, const int* fds, size_t count) {
    pollfd polled[kMaxFds];
    const nfds_t used = pollSet(fds, count, polled);
    if (used == 0) {
        sleepMs(ms);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    if (::poll(polled, used, static_cast<int>(ms)) <= 0) return;
    for (nfds_t i = 0; i < used; ++i) {
        if (polled[i].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            std::this_thread::sleep_until(deadline);
            return;
        }
    }
}

bool SystemClock::spinUntilReadable(uint32_t us, const int* fds, size_t count) {
    pollfd polled[kMaxFds];
    const nfds_t used = pollSet(fds, count, polled);
    if (used == 0) return false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(us);
    do {
        if (::poll(polled, used, 0) > 0) {
            for (nfds_t i = 0; i < used; ++i) {
                if (polled[i].revents & (POLLHUP | POLLERR | POLLNVAL)) return false;
            }
            return true;
        }
        std::this_thread::yield();
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

SystemClock& SystemClock::instance() {
    static SystemClock clock;
    return clock;
}

}  // namespace zr
