#include "PassClock.h"

namespace zr::test {

void PassClock::sleepMs(uint32_t ms) {
    if (std::this_thread::get_id() == owner_) {
        std::this_thread::yield();
        return;
    }
    if (!advancing_ || advancing_()) tick_.fetch_add(ms);
    if (realSleep_.count() > 0) {
        std::this_thread::sleep_for(realSleep_);
    } else {
        std::this_thread::yield();
    }
}

}  // namespace zr::test
