#include "link/SystemClock.h"

#include <chrono>
#include <climits>
#include <thread>

namespace zr {

uint32_t SystemClock::tickMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SystemClock::sleepMs(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

WaitResult SystemClock::waitReadable(const int* fds, size_t count, uint32_t ms) {
    const int timeout = ms == kForever ? -1 : ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
    return pollDescriptors(fds, count, timeout);
}

SystemClock& SystemClock::instance() {
    static SystemClock clock;
    return clock;
}

}  // namespace zr
