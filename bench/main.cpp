// zrk880_linkbench: how close the link comes to the line speed. Runs read and
// write exchanges, a ReadFromCamera walk and a look-up table read against the
// simulated camera program on a pseudo-terminal, paced at the line speed in
// both directions, and compares the time per exchange with the line time of
// its bytes and with a single-threaded reference loop over the same device.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "BenchArgs.h"
#include "LinkBench.h"

namespace {

using zr::bench::BenchOptions;
using zr::bench::Measurement;
using zr::bench::parseInt;

void usage(FILE* out) {
    std::fprintf(out,
                 "Usage: zrk880_linkbench [options]\n"
                 "  --count N      read and write exchanges per line speed (200)\n"
                 "  --walks N      ReadFromCamera walks per line speed (3)\n"
                 "  --baud LIST    line speeds, comma-separated (9600,115200)\n"
                 "  --no-lut       leave out the look-up table read\n"
                 "  --markdown     print the table in Markdown\n"
                 "  --trace MODE   with the link trace installed: idle (nobody\n"
                 "                 listens) or drain (a reader decodes as the open\n"
                 "                 trace window does)\n"
                 "  --load N       N busy processes at normal priority beside every\n"
                 "                 measurement, the reference loop's included (0)\n"
                 "  --ser2net      also read through ser2net on loopback (RFC 2217 and\n"
                 "                 raw TCP) against the same pty; x loop is then the\n"
                 "                 ratio to the direct pty's reads\n"
                 "  --idle SECONDS open the link, send nothing, and report its\n"
                 "                 wakeups a second and processor share instead\n"
                 "  --sim PATH     the simulated camera program (%s)\n"
                 "Exit status: 0 targets met, 1 a target (to line time or to the\n"
                 "reference loop) missed or an exchange failed,\n"
                 "2 the run could not be set up.\n",
                 ZR_BENCH_SIM_PROGRAM);
}

bool parseBauds(const std::string& list, std::vector<int>& bauds) {
    bauds.clear();
    std::istringstream in(list + ',');  // so that a trailing comma leaves an empty, bad entry
    for (std::string entry; std::getline(in, entry, ',');) {
        if (!parseInt(entry.c_str(), 50, 4000000, bauds.emplace_back())) return false;
    }
    return !bauds.empty();
}

std::string targetText(const Measurement& m) {
    if (m.failures > 0) return std::to_string(m.failures) + " FAILED";
    std::string text;
    auto add = [&text](const char* against, double target, double ratio) {
        if (target <= 0) return;
        char part[48];
        std::snprintf(part, sizeof part, "%s <= %.2f %s", against, target,
                      target < ratio ? "MISSED" : "met");
        text += (text.empty() ? "" : ", ") + std::string(part);
    };
    add("line", m.target, m.ratio());
    add("loop", m.loopTarget, m.loopRatio());
    return text.empty() ? "-" : text;
}

void print(const std::vector<Measurement>& results, bool markdown) {
    const char* header[] = {"bit/s",   "operation", "exchanges", "mean ms", "p99 ms",
                            "line ms", "x line",    "x loop",    "target"};
    if (markdown) {
        for (const char* column : header) std::printf("| %s ", column);
        std::printf("|\n|---:|---|---:|---:|---:|---:|---:|---:|---|\n");
    } else {
        std::printf("%7s  %-24s %9s %9s %9s %9s %7s %7s  %s\n", header[0], header[1], header[2],
                    header[3], header[4], header[5], header[6], header[7], header[8]);
    }
    for (const Measurement& m : results) {
        char loop[16] = "-";
        if (m.loopMs > 0) std::snprintf(loop, sizeof loop, "%.3f", m.loopRatio());
        const char* format = markdown ? "| %d | %s | %zu | %.3f | %.3f | %.3f | %.3f | %s | %s |\n"
                                      : "%7d  %-24s %9zu %9.3f %9.3f %9.3f %7.3f %7s  %s\n";
        std::printf(format, m.baud, m.operation.c_str(), m.times.count(), m.times.meanMs(),
                    m.times.percentileMs(0.99), m.lineMs(), m.ratio(), loop, targetText(m).c_str());
    }
}

int runIdle(const BenchOptions& options, bool markdown) {
    std::vector<zr::bench::IdleResult> results;
    std::string error;
    if (!zr::bench::runIdle(options, results, error)) {
        std::fprintf(stderr, "zrk880_linkbench: idle: %s\n", error.c_str());
        return 2;
    }
    std::printf(markdown ? "| idle route | wakeups/s | CPU %% | target |\n|---|---:|---:|---|\n"
                         : "%-44s %10s %7s  %s\n",
                "route", "wakeups/s", "CPU %", "target");
    for (const auto& r : results) {
        char target[48] = "-";
        if (r.maxWakeups > 0)
            std::snprintf(target, sizeof target, "<= %.0f/s %s", r.maxWakeups,
                          r.missed() ? "MISSED" : "met");
        std::printf(markdown ? "| %s | %.1f | %.2f | %s |\n" : "%-44s %10.1f %7.2f  %s\n",
                    r.route.c_str(), r.wakeupsPerSecond, r.cpuPercent, target);
    }
    return std::ranges::any_of(results, &zr::bench::IdleResult::missed) ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    BenchOptions options;
    options.simProgram = ZR_BENCH_SIM_PROGRAM;
    bool markdown = false;
    int idleSeconds = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        } else if (arg == "--count" && hasValue &&
                   parseInt(argv[i + 1], 1, 1000000, options.count)) {
            ++i;
        } else if (arg == "--walks" && hasValue && parseInt(argv[i + 1], 0, 10000, options.walks)) {
            ++i;
        } else if (arg == "--baud" && hasValue && parseBauds(argv[i + 1], options.bauds)) {
            ++i;
        } else if (arg == "--sim" && hasValue) {
            options.simProgram = argv[++i];
        } else if (arg == "--load" && hasValue && parseInt(argv[i + 1], 0, 64, options.load)) {
            ++i;
        } else if (arg == "--idle" && hasValue && parseInt(argv[i + 1], 1, 3600, idleSeconds)) {
            options.idleSeconds = idleSeconds;
            ++i;
        } else if (arg == "--ser2net") {
            options.ser2net = true;
        } else if (arg == "--no-lut") {
            options.lut = false;
        } else if (arg == "--trace" && hasValue &&
                   (std::string(argv[i + 1]) == "idle" || std::string(argv[i + 1]) == "drain")) {
            options.trace = std::string(argv[++i]) == "idle" ? zr::bench::TraceMode::Idle
                                                             : zr::bench::TraceMode::Drain;
        } else if (arg == "--markdown") {
            markdown = true;
        } else {
            std::fprintf(stderr, "zrk880_linkbench: bad argument %s\n", arg.c_str());
            usage(stderr);
            return 2;
        }
    }

    if (options.idleSeconds > 0) return runIdle(options, markdown);

    std::vector<Measurement> results;
    for (const int baud : options.bauds) {
        std::string error;
        if (!zr::bench::runAtBaud(options, baud, results, error)) {
            std::fprintf(stderr, "zrk880_linkbench: at %d bit/s: %s\n", baud, error.c_str());
            return 2;
        }
    }
    print(results, markdown);
    if (options.trace == zr::bench::TraceMode::Idle)
        std::printf("trace: hook and queue installed, nobody listening\n");
    if (options.trace == zr::bench::TraceMode::Drain) {
        const zr::bench::TraceTotals t = zr::bench::traceTotals();
        std::printf("trace: %llu lines decoded, %llu events lost\n",
                    static_cast<unsigned long long>(t.lines),
                    static_cast<unsigned long long>(t.lost));
    }
    return std::ranges::any_of(results, &Measurement::missed) ? 1 : 0;
}
