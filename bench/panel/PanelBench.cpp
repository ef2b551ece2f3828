// zrk880_panelbench: the panel's Read From Camera walk (Ctrl+R: 53 reads and
// the panel's refresh), offscreen, against the simulated camera program on a
// pseudo-terminal paced at the line speed, timed in rounds alternated with
// the single-threaded reference loop doing the same 53 reads on the same
// camera; optionally with busy processes beside both.
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchArgs.h"
#include "BusyLoad.h"
#include "ExchangeTimes.h"
#include "IdleProbe.h"
#include "LinkBench.h"
#include "ReferenceLoop.h"
#include "SimProcess.h"
#include "link/ComPort.h"
#include "link/ComPortResolver.h"
#include "panel/CZR_K880TM_ControlDlg.h"
#include "panel/PanelControlIds.h"
#include "params/CameraParamTable.h"

namespace {

using namespace zr::bench;

struct Options {
    int rounds = 7;
    int baud = 115200;
    int load = 0;
    int idleSeconds = 0;
    std::string sim = ZR_BENCH_SIM_PROGRAM;
};

double medianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double msSince(BenchClock::time_point start) {
    return std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
}

// One walk through the panel: open, Ctrl+R, close (unless told not to). -1
// when it failed.
double panelWalk(CZR_K880TM_ControlDlg& panel, int baud, bool close = true) {
    const std::string port = "COM" + std::to_string(SimProcess::kPort) + " " + std::to_string(baud);
    if (zr::OpenComPort(panel.link(), port) != 0) return -1;
    panel.portOpen = 1;
    const auto start = BenchClock::now();
    panel.OnCommand(zr::panel::ID_ACCEL_READ);
    const double ms = msSince(start);
    if (!close) return ms;
    panel.link().CloseLink();
    panel.portOpen = 0;
    return ms;
}

// The same 53 reads through the reference loop. -1 when it failed.
double loopWalk(int baud) {
    ReferenceLoop loop;
    std::string error;
    const auto path = zr::ComPortResolver::fromEnvironment().devicePath(SimProcess::kPort);
    if (!loop.open(path, baud, error)) return -1;
    const Measurement m = loop.reads(baud, zr::UserParamCount);
    return m.failures > 0 ? -1 : m.times.meanMs() * zr::UserParamCount;
}

// The panel after a Read From Camera, its port open, serving its events.
int idle(CZR_K880TM_ControlDlg& panel, const Options& o) {
    if (panelWalk(panel, o.baud, false) < 0) {
        std::fprintf(stderr, "zrk880_panelbench: the port did not open\n");
        return 1;
    }
    panel.show();
    const auto serveEvents = [](double seconds) {
        QTimer::singleShot(static_cast<int>(seconds * 1000), qApp, &QCoreApplication::quit);
        QApplication::exec();
    };
    // The first painting of the window is not idling.
    serveEvents(1);
    const IdleFigures f = measureIdle(o.idleSeconds, serveEvents);
    std::printf("panel idle, port open (COM, %d bit/s): %.1f wakeups/s, %.2f%% CPU\n", o.baud,
                f.wakeupsPerSecond, f.cpuPercent);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool more = i + 1 < argc;
        if (arg == "--rounds" && more && parseInt(argv[i + 1], 1, 1000, o.rounds)) {
            ++i;
        } else if (arg == "--baud" && more && parseInt(argv[i + 1], 50, 4000000, o.baud)) {
            ++i;
        } else if (arg == "--load" && more && parseInt(argv[i + 1], 0, 64, o.load)) {
            ++i;
        } else if (arg == "--idle" && more && parseInt(argv[i + 1], 1, 3600, o.idleSeconds)) {
            ++i;
        } else if (arg == "--sim" && more) {
            o.sim = argv[++i];
        } else {
            std::fprintf(stderr,
                         "Usage: zrk880_panelbench [--rounds N] [--baud B] [--load N] "
                         "[--idle SECONDS] [--sim PATH]\n"
                         "  --idle: the panel with its port open and nothing to do: its\n"
                         "  wakeups a second and processor share instead of the walks\n");
            return arg == "--help" ? 0 : 2;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    SimProcess sim;
    std::string error;
    if (!sim.start(o.sim, {"--pace", std::to_string(o.baud)}, error)) {
        std::fprintf(stderr, "zrk880_panelbench: %s\n", error.c_str());
        return 2;
    }
    ::setenv("ZRK880_PORT_DIR", sim.portDir().c_str(), 1);
    const BusyLoad load(o.load);
    CZR_K880TM_ControlDlg panel;

    if (o.idleSeconds > 0) return idle(panel, o);

    std::vector<double> panelMs, loopMs;
    for (int r = 0; r < o.rounds; ++r) {
        // Each goes first every other round, so that a change in the
        // machine's load falls on both alike.
        for (int turn = 0; turn < 2; ++turn) {
            const bool panelTurn = (turn == 0) == (r % 2 == 0);
            const double ms = panelTurn ? panelWalk(panel, o.baud) : loopWalk(o.baud);
            if (ms < 0) {
                std::fprintf(stderr, "zrk880_panelbench: a %s walk failed\n",
                             panelTurn ? "panel" : "reference loop");
                return 1;
            }
            (panelTurn ? panelMs : loopMs).push_back(ms);
        }
    }
    const double lineMs = zr::UserParamCount * kReadBytes * 10.0 * 1000.0 / o.baud;
    const double panelMedian = medianOf(panelMs);
    const double loopMedian = medianOf(loopMs);
    const double target = o.load > 0 ? 1.25 : 1.05;
    const double ratio = panelMedian / loopMedian;
    std::printf("%7s  %5s  %-30s %10s %9s %7s %7s  %s\n", "bit/s", "load", "operation", "median ms",
                "line ms", "x line", "x loop", "target");
    std::printf("%7d  %5d  %-30s %10.2f %9.2f %7.3f %7s  -\n", o.baud, o.load,
                "reference loop, 53 reads", loopMedian, lineMs, loopMedian / lineMs, "-");
    std::printf("%7d  %5d  %-30s %10.2f %9.2f %7.3f %7.3f  loop <= %.2f %s\n", o.baud, o.load,
                "panel Read From Camera walk", panelMedian, lineMs, panelMedian / lineMs, ratio,
                target, ratio > target ? "MISSED" : "met");
    return ratio > target ? 1 : 0;
}
