// zrk880_camsim: the simulated camera on a pseudo-terminal, linked as COMn in
// a port directory, so the panel reaches it through the real serial path.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/SystemClock.h"
#include "model/CameraModel.h"
#include "model/FrameLog.h"
#include "model/SimOptions.h"
#include "pty/PtyServer.h"

namespace {

int stopPipe[2] = {-1, -1};

void onStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopPipe[1], &byte, 1);
}

void usage(FILE* out) {
    std::fprintf(out,
                 "Usage: zrk880_camsim [options] PORT_DIR PORT_NUMBER\n"
                 "Serves a simulated ZR-K880TM camera on a pseudo-terminal and links it as\n"
                 "PORT_DIR/COM<PORT_NUMBER> (1..255). Prints the terminal's path once ready;\n"
                 "runs until SIGINT or SIGTERM and removes the link when it ends.\n"
                 "Options:\n"
                 "  --log FILE             append each received command text to FILE\n"
                 "  --stdin-eof            also end when standard input ends\n"
                 "  --help                 this text\n"
                 "%s",
                 zr::sim::simOptionsHelp());
}

}  // namespace

int main(int argc, char** argv) {
    zr::sim::SimOptions options;
    std::vector<std::string> rest;
    std::string error;
    if (!zr::sim::parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, rest,
                                  error)) {
        std::fprintf(stderr, "zrk880_camsim: %s\n", error.c_str());
        return 2;
    }
    std::string logPath;
    bool watchStdin = false;
    std::vector<std::string> positional;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == "--help" || rest[i] == "-h") {
            usage(stdout);
            return 0;
        } else if (rest[i] == "--stdin-eof") {
            watchStdin = true;
        } else if (rest[i] == "--log" && i + 1 < rest.size()) {
            logPath = rest[++i];
        } else if (rest[i].rfind("-", 0) == 0) {
            std::fprintf(stderr, "zrk880_camsim: unknown option %s\n", rest[i].c_str());
            usage(stderr);
            return 2;
        } else {
            positional.push_back(rest[i]);
        }
    }
    char* end = nullptr;
    const long port = positional.size() == 2 ? std::strtol(positional[1].c_str(), &end, 10) : 0;
    if (positional.size() != 2 || *end != '\0' || port < 1 || port > 255) {
        usage(stderr);
        return 2;
    }

    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return 1;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    zr::sim::CameraModel model(zr::SystemClock::instance());
    model.setFaults(options.faults);
    model.setBehaviour(options.behaviour);
    if (!logPath.empty()) {
        model.setFrameObserver([logPath](const zr::sim::ReceivedFrame& frame) {
            zr::sim::appendFrameLog(logPath, frame);
        });
    }

    zr::sim::PtyServer server(model, options.faults.paceBaud);
    if (!server.open(error) || !server.link(positional[0], static_cast<int>(port), error)) {
        std::fprintf(stderr, "zrk880_camsim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", server.slavePath().c_str());
    std::fflush(stdout);
    server.serve(stopPipe[0], watchStdin);
    server.unlink();
    return 0;
}
