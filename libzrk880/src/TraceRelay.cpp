#include "TraceRelay.h"

#include "CallbackScope.h"

namespace zr::lib {

void TraceRelay::setCallback(zrk880_trace_fn callback, void* user) {
    std::lock_guard lock(mutex_);
    callback_ = callback;
    user_ = user;
}

void TraceRelay::onEvent(const TraceEvent& event) {
    std::lock_guard lock(mutex_);
    // Times count from the opening, as in the trace window.
    if (event.kind == TraceEvent::Kind::Opened) decoder_ = TraceDecoder(event.tick);
    if (!callback_) return;
    std::vector<TraceLine> lines;
    decoder_.feed(event, lines);
    deliver(lines);
}

void TraceRelay::flush() {
    std::lock_guard lock(mutex_);
    if (!callback_) return;
    std::vector<TraceLine> lines;
    decoder_.flush(lines);
    deliver(lines);
}

void TraceRelay::deliver(const std::vector<TraceLine>& lines) {
    CallbackScope scope;
    for (const TraceLine& l : lines) {
        const zrk880_trace_line line{l.ms,           l.direction.c_str(), l.hex.c_str(),
                                     l.text.c_str(), l.meaning.c_str(),   l.roundTripMs};
        callback_(&line, user_);
    }
}

}  // namespace zr::lib
