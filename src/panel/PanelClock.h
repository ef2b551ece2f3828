#pragma once

#include "link/Clock.h"

namespace zr::panel {

// The clock a new panel's link runs on: the real clock unless a test has put
// a virtual one in place (before building the panel, for the panel's life).
Clock& linkClock();
void setLinkClock(Clock* clock);  // nullptr: the real clock again

}  // namespace zr::panel
