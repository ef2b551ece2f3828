#include "LinkBench.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdio>

#include "BenchSink.h"
#include "BusyLoad.h"
#include "FrameWriteTap.h"
#include "IdleProbe.h"
#include "ReferenceLoop.h"
#include "SimProcess.h"
#include "link/ClOpen.h"
#include "link/ComPort.h"
#include "link/ComPortResolver.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "params/BulkOperations.h"
#include "params/ParamAccess.h"
#include "pty/Ser2netProcess.h"

namespace zr::bench {

namespace {

constexpr int kWarmUpReads = 5;
TraceTotals totals;
constexpr int kBlocks = 10;  // turns of the reference loop and the link

// How many turns `total` exchanges take, and how many of them turn `b` gets.
int blocksFor(int total) {
    return std::min(total, kBlocks);
}
int blockShare(int total, int b) {
    const int blocks = blocksFor(total);
    return total / blocks + (b < total % blocks ? 1 : 0);
}

// The highest ratios allowed at a line speed: to the line time, and to the
// reference loop (what the worker's thread hand-offs may cost); 0 = none.
// With busy processes beside it the line is out of reach for the loop too;
// the link must stay close to the loop.
struct Targets {
    double line = 0;
    double loop = 0;
};

Targets targetsFor(int baud, int load) {
    if (load > 0) return {0, 1.15};
    if (baud == 9600) return {1.03, 1.01};
    if (baud == 115200) return {1.15, 1.03};
    return {};
}

// Wakeups a second the idle COM route may cost: it waits on the device.
constexpr double kIdleComWakeups = 5;
// A Camera Link library has no descriptor: its 10 ms read time-out is the
// wait, about 100 wakeups a second, also where a read returns at once.
constexpr double kIdleLibraryWakeups = 110;

class Session {
  public:
    Session(int baud, TraceMode trace, int load)
        : baud_(baud),
          load_(load),
          link_(relay_, tap_),
          params_(link_),
          bulk_(params_),
          trace_(link_, trace) {
        tap_.watch(&link_);
    }
    ~Session() {
        link_.CloseLink();
        totals.lines += trace_.lines();
        totals.lost += trace_.lost();
    }
    void close() { link_.CloseLink(); }

    bool open(std::string& error) {
        const std::string text =
            "COM" + std::to_string(SimProcess::kPort) + " " + std::to_string(baud_);
        if (OpenComPort(link_, text) == 0) return true;
        error = "the simulated camera's port did not open";
        return false;
    }

    bool openDevice(const std::string& path, std::string& error) {
        if (OpenComDevice(link_, path, std::to_string(baud_)) == 0) return true;
        error = path + " did not open";
        return false;
    }

    bool openLibrary(std::string& error) {
        if (OpenBoardLibrary(link_, ZR_BENCH_SIM_CL_LIBRARY) == 0) return true;
        error = "the simulated Camera Link library did not open";
        return false;
    }

    Measurement reads(int count) {
        Measurement m{"read (ReadRegister)", baud_, kReadBytes, targetsFor(baud_, load_).line};
        const std::string text = ParamAccess::readText(params_.table()[kBenchRow]);
        timeExchanges(m, count, [&](int) { return read(text); });
        return m;
    }

    // Each write is timed until the next one is queued: the next SendCommand
    // waits for the ACK, so the whole exchange is inside the interval.
    Measurement writes(int count) {
        Measurement m{"write (WriteParam)", baud_, kWriteBytes, targetsFor(baud_, load_).line};
        std::vector<BenchClock::time_point> ends;
        for (int i = 0; i <= count; ++i) {
            if (params_.WriteParam(kBenchRow, benchWriteValue(i)) != 0) ++m.failures;
            ends.push_back(BenchClock::now());
        }
        link_.waitUntilIdle();
        m.times = ExchangeTimes::fromBoundaries(ends);
        return m;
    }

    Measurement walks(int walks) {
        Measurement m{"ReadFromCamera walk", baud_, kReadBytes};
        for (int w = 0; w < walks; ++w) {
            tap_.clear();
            std::vector<BenchClock::time_point> cuts = {BenchClock::now()};
            bulk_.ReadFromCamera();
            const BenchClock::time_point end = BenchClock::now();
            const auto writes = tap_.writes();
            // The first exchange runs from the call; each later one from its
            // frame write.
            if (writes.size() != static_cast<size_t>(UserParamCount)) {
                ++m.failures;
                continue;
            }
            cuts.insert(cuts.end(), writes.begin() + 1, writes.end());
            cuts.push_back(end);
            m.times.add(ExchangeTimes::fromBoundaries(cuts));
        }
        return m;
    }

    // The look-up table editor's READ: 768 reads, channel by channel.
    Measurement lutRead() {
        Measurement m{"LUT read (768 entries)", baud_, kReadBytes};
        timeExchanges(m, 3 * 256, [this](int i) {
            char text[16];
            std::snprintf(text, sizeof text, "%02X%02X000000", 0xA0 + i / 256, i % 256);
            return read(text);
        });
        return m;
    }

    void warmUp() {
        const std::string text = ParamAccess::readText(params_.table()[kBenchRow]);
        for (int i = 0; i < kWarmUpReads; ++i) read(text);
    }

    int messagesShown() const { return sink_.shown(); }

  private:
    bool read(const std::string& text) {
        AnswerBytes answer{};
        return params_.ReadRegister(text, answer) == 1;
    }

    int baud_;
    int load_;
    BenchSink sink_;
    MessageRelay relay_{sink_};
    FrameWriteTap tap_;
    SerialLink link_;
    ParamAccess params_;
    BulkOperations bulk_;
    TraceLoad trace_;  // after the link: it ends its reader before the link goes
};

// Adds one block's exchanges to the whole run's.
void absorb(Measurement& whole, const Measurement& block) {
    if (whole.operation.empty()) {
        whole = block;
        return;
    }
    whole.times.add(block.times);
    whole.failures += block.failures;
}

// One block of reads and writes through the reference loop, which takes the
// device for as long as the block lasts.
bool loopBlock(int baud, int count, Measurement& reads, Measurement& writes, std::string& error) {
    ReferenceLoop loop;
    if (!loop.open(ComPortResolver::fromEnvironment().devicePath(SimProcess::kPort), baud, error))
        return false;
    loop.reads(baud, kWarmUpReads);
    absorb(reads, loop.reads(baud, count));
    absorb(writes, loop.writes(baud, count));
    return true;
}

bool linkBlock(Session& session, int count, Measurement& reads, Measurement& writes,
               std::string& error) {
    if (!session.open(error)) return false;
    session.warmUp();
    absorb(reads, session.reads(count));
    absorb(writes, session.writes(count));
    session.close();
    return true;
}

// Reads straight from the pseudo-terminal and through ser2net in front of
// it, in both modes, taking turns in blocks as above: what the network
// route costs on top of the line.
bool ser2netReads(Session& session, int count, std::vector<Measurement>& results,
                  std::string& error) {
    const std::string direct = ComPortResolver::fromEnvironment().devicePath(SimProcess::kPort);
    sim::Ser2netProcess server(direct, {"telnet(rfc2217)", "tcp"});
    if (!server.ready()) {
        error = "ser2net did not start: " + server.log();
        return false;
    }
    const std::string routes[] = {direct, "rfc2217://127.0.0.1:" + std::to_string(server.port(0)),
                                  "socket://127.0.0.1:" + std::to_string(server.port(1))};
    const char* names[] = {"read, direct pty", "read, ser2net rfc2217", "read, ser2net socket"};
    Measurement whole[3];
    for (int b = 0; b < blocksFor(count); ++b) {
        const int n = blockShare(count, b);
        for (int k = 0; k < 3; ++k) {
            const int r = (b + k) % 3;
            if (!session.openDevice(routes[r], error)) return false;
            session.warmUp();
            Measurement m = session.reads(n);
            m.operation = names[r];
            m.target = 0;
            absorb(whole[r], m);
            session.close();
            // The next route needs the device ser2net may still hold.
            if (!server.waitDeviceReleased()) {
                error = "ser2net kept the simulated camera's terminal";
                return false;
            }
        }
    }
    for (Measurement& m : whole) {
        m.loopMs = whole[0].times.meanMs();  // the x loop column: against the direct pty
        results.push_back(m);
    }
    return true;
}

}  // namespace

bool runAtBaud(const BenchOptions& options, int baud, std::vector<Measurement>& results,
               std::string& error) {
    SimProcess sim;
    if (!sim.start(options.simProgram, {"--pace", std::to_string(baud)}, error)) return false;
    ::setenv("ZRK880_PORT_DIR", sim.portDir().c_str(), 1);

    // The reference loop and the link take turns in blocks, each going first
    // every other time, so that a change in the machine's load between them
    // falls on both alike.
    const BusyLoad load(options.load);
    Session session(baud, options.trace, options.load);
    Measurement loopReads, loopWrites, reads, writes;
    for (int b = 0; b < blocksFor(options.count); ++b) {
        const int count = blockShare(options.count, b);
        const bool loopFirst = b % 2 == 0;
        if (loopFirst && !loopBlock(baud, count, loopReads, loopWrites, error)) return false;
        if (!linkBlock(session, count, reads, writes, error)) return false;
        if (!loopFirst && !loopBlock(baud, count, loopReads, loopWrites, error)) return false;
    }
    reads.loopMs = loopReads.times.meanMs();
    writes.loopMs = loopWrites.times.meanMs();
    reads.loopTarget = writes.loopTarget = targetsFor(baud, options.load).loop;
    results.insert(results.end(), {loopReads, loopWrites, reads, writes});

    if (options.ser2net && !ser2netReads(session, options.count, results, error)) return false;

    if (options.walks > 0 || options.lut) {
        if (!session.open(error)) return false;
        if (options.walks > 0) results.push_back(session.walks(options.walks));
        if (options.lut) results.push_back(session.lutRead());
    }
    if (session.messagesShown() > 0) {
        error = "message boxes were shown during the run";
        return false;
    }
    return true;
}

bool runIdle(const BenchOptions& options, std::vector<IdleResult>& results, std::string& error) {
    SimProcess sim;
    if (!sim.start(options.simProgram, {"--pace", "115200"}, error)) return false;
    ::setenv("ZRK880_PORT_DIR", sim.portDir().c_str(), 1);
    Session session(115200, TraceMode::None, 0);
    if (!session.open(error)) return false;
    const IdleFigures com = measureIdle(options.idleSeconds);
    results.push_back(
        {"COM (pseudo-terminal)", com.wakeupsPerSecond, com.cpuPercent, kIdleComWakeups});
    session.close();
    // The simulated library's own wait in a read naps a millisecond at a
    // time, as a library may; measured once so, and once with reads that
    // return at once, where the link's worker does the waiting.
    for (const char* read : {"wait", "now"}) {
        ::setenv("ZR_SIM_CL_READ", read, 1);
        if (!session.openLibrary(error)) return false;
        const IdleFigures cl = measureIdle(options.idleSeconds);
        results.push_back({std::string("Camera Link library, reads ") +
                               (read[0] == 'w' ? "wait 10 ms" : "return at once"),
                           cl.wakeupsPerSecond, cl.cpuPercent,
                           read[0] == 'n' ? kIdleLibraryWakeups : 0});
        session.close();
    }
    ::unsetenv("ZR_SIM_CL_READ");
    const IdleFigures closed = measureIdle(options.idleSeconds);
    results.push_back({"link closed", closed.wakeupsPerSecond, closed.cpuPercent, 0});
    return true;
}

TraceTotals traceTotals() {
    return totals;
}

}  // namespace zr::bench
