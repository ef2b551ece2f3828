#pragma once

#include <functional>
#include <string>

namespace zr::bench {

// What a process costs the machine while it waits: how often its threads
// were switched in (voluntary and forced context switches of every thread,
// from /proc) and the processor time it used, over `seconds` of real time
// during which this thread only sleeps, or runs `wait` (an event loop that
// ends after the time).
struct IdleFigures {
    double wakeupsPerSecond = 0;
    double cpuPercent = 0;
};
IdleFigures measureIdle(double seconds, const std::function<void(double seconds)>& wait = {});

}  // namespace zr::bench
