#include "link/SystemClock.h"

#include <chrono>
#include <thread>

namespace zr {

uint32_t SystemClock::tickMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SystemClock::sleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

SystemClock& SystemClock::instance() {
    static SystemClock clock;
    return clock;
}

}  // namespace zr
