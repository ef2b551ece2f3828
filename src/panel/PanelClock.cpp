#include "panel/PanelClock.h"

#include "link/SystemClock.h"

namespace zr::panel {

namespace {
Clock* injected = nullptr;
}

Clock& linkClock() {
    return injected ? *injected : SystemClock::instance();
}

void setLinkClock(Clock* clock) {
    injected = clock;
}

}  // namespace zr::panel
