#include "IdleProbe.h"

#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace zr::bench {

namespace {

// Context switches of every thread of this process so far.
long long contextSwitches() {
    long long total = 0;
    std::error_code ec;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", ec)) {
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);) {
            const auto colon = line.find(':');
            if (colon == std::string::npos) continue;
            const std::string key = line.substr(0, colon);
            if (key == "voluntary_ctxt_switches" || key == "nonvoluntary_ctxt_switches")
                total += std::stoll(line.substr(colon + 1));
        }
    }
    return total;
}

double cpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

IdleFigures measureIdle(double seconds, const std::function<void(double seconds)>& wait) {
    const long long switchesBefore = contextSwitches();
    const double cpuBefore = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (wait)
        wait(seconds);
    else
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // This thread's own sleep and the two reads of /proc count once each.
    const long long switches = contextSwitches() - switchesBefore - 2;
    return {static_cast<double>(switches < 0 ? 0 : switches) / elapsed,
            100.0 * (cpuSeconds() - cpuBefore) / elapsed};
}

}  // namespace zr::bench
