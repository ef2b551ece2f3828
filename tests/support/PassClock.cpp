#include "support/PassClock.h"

namespace zr::test {

namespace {

// A short real sleep rather than a yield: on a busy machine a yielding
// thread waits behind every other runnable one, a sleeping one is woken
// promptly.
constexpr std::chrono::microseconds kBreather(10);

}  // namespace

void PassClock::sleepMs(uint32_t ms) {
    if (std::this_thread::get_id() != owner_) tick_.fetch_add(step_ ? step_() : ms);
    std::this_thread::sleep_for(realSleep_.count() > 0 ? realSleep_ : kBreather);
}

}  // namespace zr::test
