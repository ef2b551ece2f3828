#include "SoakClock.h"

#include <chrono>

namespace zr::test {

void SoakClock::sleepMs(uint32_t ms) {
    if (std::this_thread::get_id() != owner_) tick_.fetch_add(step_ ? step_() : ms);
    // A short real sleep rather than a yield: a yielding thread waits behind
    // every other runnable one on a busy machine.
    std::this_thread::sleep_for(std::chrono::microseconds(20));
}

}  // namespace zr::test
