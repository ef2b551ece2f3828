#include "CliSession.h"

#include <cstdio>
#include <string>

namespace zr::cli {

CliSession::CliSession(const CliOptions& options) : options_(options), sink_(options.yes) {}

CliSession::~CliSession() {
    zrk880_close(camera_);
}

void CliSession::message(const char* caption, const char* text, int question, void* user) {
    static_cast<CliSession*>(user)->sink_.show(
        Message{text, caption, MsgIcon::None, question ? MsgButtons::YesNo : MsgButtons::Ok});
}

// --verbose: every chunk of bytes on the line, with milliseconds since the
// opening; what the link made of them is for the panel's trace window.
void CliSession::trace(const zrk880_trace_line* line, void*) {
    if (*line->hex == '\0') return;
    std::fprintf(stderr, "[%7u.%03u] %s %s |%s|\n", line->ms / 1000, line->ms % 1000,
                 line->direction, line->hex, line->text);
}

bool CliSession::open() {
    std::string route;
    switch (options_.route) {
        case Route::None:
            std::fprintf(stderr,
                         "zrk880ctl: this command needs a route: --port, --device, "
                         "--cl-all or --cl-lib\n");
            return false;
        case Route::ComPort:
            route = options_.port;
            break;
        case Route::Device:
            route = options_.device;
            break;
        case Route::ClLib:
            route = "cllib:" + options_.library;
            break;
        case Route::ClAll:
            route = "clall:" + std::to_string(options_.clIndex);
            break;
    }
    if (zrk880_open_with_messages(route.c_str(), options_.baud, &CliSession::message, this,
                                  &camera_) != ZRK880_OK) {
        // A route the library refused before any box of the link's.
        if (sink_.failures() == 0) std::fprintf(stderr, "zrk880ctl: %s\n", zrk880_last_error());
        return false;
    }
    if (options_.verbose) zrk880_set_trace(camera_, &CliSession::trace, nullptr);
    return true;
}

}  // namespace zr::cli
