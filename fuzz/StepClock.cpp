#include "StepClock.h"

#include <thread>

namespace zr::fuzz {

void StepClock::sleepMs(uint32_t ms) {
    tick_.fetch_add(ms);
    std::this_thread::yield();
}

}  // namespace zr::fuzz
