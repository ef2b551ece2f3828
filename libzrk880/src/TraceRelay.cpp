#include "TraceRelay.h"

#include <chrono>

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
    if (event.kind == TraceEvent::Kind::Opened) {
        decoder_ = TraceDecoder(event.tick);
        opened_ = true;
        openedCv_.notify_all();
    }
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

bool TraceRelay::waitOpened() {
    std::unique_lock lock(mutex_);
    // The worker reports its start before anything else; the bound only
    // keeps a worker that never starts from holding the caller for ever.
    return openedCv_.wait_for(lock, std::chrono::seconds(10), [this] { return opened_; });
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
