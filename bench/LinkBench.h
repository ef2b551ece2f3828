#pragma once

#include <string>
#include <vector>

#include "ExchangeTimes.h"
#include "TraceLoad.h"
#include "params/CameraParamTable.h"

namespace zr::bench {

// The register both the link and the reference loop exchange with: one data
// byte, 0..255. Writes alternate between two values so each one changes it.
inline constexpr int kBenchRow = ROW_SHUTTER_SPEED;
inline constexpr int benchWriteValue(int i) {
    return 5 + i % 2;
}

// Bytes on the line: command frame 18, ACK 1; a read adds the answer frame
// 10 and the host's ACK 1.
inline constexpr int kWriteBytes = 18 + 1;
inline constexpr int kReadBytes = 18 + 1 + 10 + 1;

// One measured operation at one line speed; the first four fields are set
// when it starts.
struct Measurement {
    std::string operation;
    int baud = 0;
    int bytesPerExchange = 0;  // on the line, both directions
    double target = 0;         // highest ratio to the line time allowed, 0 = none
    ExchangeTimes times{};
    int failures = 0;  // exchanges that did not end as they should
    // Mean time of the same exchange in the reference loop of the same run,
    // and the highest ratio to it allowed; 0 = none.
    double loopMs = 0;
    double loopTarget = 0;

    double lineMs() const { return bytesPerExchange * 10.0 * 1000.0 / baud; }  // 10 bits a byte
    double ratio() const { return times.meanMs() / lineMs(); }
    double loopRatio() const { return loopMs > 0 ? times.meanMs() / loopMs : 0; }
    bool missed() const {
        return failures > 0 || (target > 0 && ratio() > target) ||
               (loopTarget > 0 && loopRatio() > loopTarget);
    }
};

// Times `count` exchanges in a row, each from the end of the one before;
// `exchange(i)` returns false for one that did not end as it should.
template <class Exchange>
void timeExchanges(Measurement& m, int count, Exchange exchange) {
    std::vector<BenchClock::time_point> ends = {BenchClock::now()};
    for (int i = 0; i < count; ++i) {
        if (!exchange(i)) ++m.failures;
        ends.push_back(BenchClock::now());
    }
    m.times = ExchangeTimes::fromBoundaries(ends);
}

struct BenchOptions {
    std::string simProgram;
    std::vector<int> bauds = {9600, 115200};
    int count = 200;  // read and write exchanges per line speed
    int walks = 3;    // ReadFromCamera walks per line speed
    bool lut = true;
    TraceMode trace = TraceMode::None;
    int load = 0;            // busy processes beside every measurement
    bool ser2net = false;    // also reads over ser2net on loopback, both modes
    double idleSeconds = 0;  // > 0: measure the open, unused link instead
};

// Runs every operation at one line speed against the simulated camera program.
// Returns false with `error` when the camera or the port could not be set up.
bool runAtBaud(const BenchOptions& options, int baud, std::vector<Measurement>& results,
               std::string& error);

// The open link doing nothing, over the COM route and over a Camera Link
// library: wakeups a second and processor share, for `options.idleSeconds`.
struct IdleResult {
    std::string route;
    double wakeupsPerSecond = 0;
    double cpuPercent = 0;
    double maxWakeups = 0;  // the target, 0 = none
    bool missed() const { return maxWakeups > 0 && wakeupsPerSecond > maxWakeups; }
};
bool runIdle(const BenchOptions& options, std::vector<IdleResult>& results, std::string& error);

// Trace lines decoded and trace events lost over all runs (TraceMode::Drain).
struct TraceTotals {
    uint64_t lines = 0;
    uint64_t lost = 0;
};
TraceTotals traceTotals();

}  // namespace zr::bench
