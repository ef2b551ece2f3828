#include "CliSession.h"

#include <cstdio>

#include "link/ClOpen.h"
#include "link/ComPort.h"
#include "link/SystemClock.h"

namespace zr::cli {

CliSession::CliSession(const CliOptions& options)
    : options_(options),
      sink_(options.yes),
      relay_(sink_),
      link_(relay_, SystemClock::instance()),
      params_(link_),
      bulk_(params_) {}

CliSession::~CliSession() {
    waitIdle();
    link_.CloseLink();
}

// --verbose: every chunk of bytes on the line, with milliseconds since start.
void CliSession::traceBytes(bool sent, const uint8_t* data, size_t count) {
    const uint32_t ms = ticksSince(SystemClock::instance().tickMs(), startTick_);
    std::string hex, text;
    hex.reserve(count * 3);
    char b[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(b, sizeof b, "%02X ", data[i]);
        hex += b;
        text += data[i] >= 0x20 && data[i] < 0x7F ? static_cast<char>(data[i]) : '.';
    }
    if (!hex.empty()) hex.pop_back();
    std::fprintf(stderr, "[%7u.%03u] %s %s |%s|\n", ms / 1000, ms % 1000, sent ? "->" : "<-",
                 hex.c_str(), text.c_str());
}

bool CliSession::open() {
    if (options_.verbose) {
        startTick_ = SystemClock::instance().tickMs();
        // The byte chunks only: what the worker made of them is for the
        // panel's trace window.
        link_.setTrace([this](const TraceEvent& e) {
            if (e.kind == TraceEvent::Kind::Sent || e.kind == TraceEvent::Kind::Received)
                traceBytes(e.kind == TraceEvent::Kind::Sent, e.data, e.count);
        });
    }
    const std::string baud = std::to_string(options_.baud);
    switch (options_.route) {
        case Route::None:
            std::fprintf(stderr,
                         "zrk880ctl: this command needs a route: --port, --device, "
                         "--cl-all or --cl-lib\n");
            return false;
        case Route::ComPort:
            OpenComPort(link_, options_.port + " " + baud);
            break;
        case Route::Device:
            OpenComDevice(link_, options_.device, baud);
            break;
        case Route::ClLib:
            OpenBoardLibrary(link_, options_.library);
            break;
        case Route::ClAll:
            OpenClAllSerial(link_, clBaudBitFor(options_.baud), options_.clIndex);
            break;
    }
    return link_.isOpen();
}

void CliSession::waitIdle() {
    link_.waitUntilIdle();
    // A box the worker posted as the exchange ended.
    relay_.servePending();
}

}  // namespace zr::cli
