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

bool CliSession::open() {
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
            OpenClAllSerial(link_, clBaudBitFor(options_.baud));
            break;
    }
    return link_.isOpen();
}

void CliSession::waitIdle() {
    while (link_.isOpen() &&
           (link_.framePending() || link_.awaitingAck() || link_.awaitingAnswer())) {
        relay_.servePending();
        link_.clock().sleepMs(1);
    }
    relay_.servePending();
}

}  // namespace zr::cli
