#include "TraceLoad.h"

#include <chrono>
#include <deque>
#include <vector>

#include "params/TraceDecoder.h"

namespace zr::bench {

namespace {
// The trace window's poll period.
constexpr auto kPollPeriod = std::chrono::milliseconds(50);
}  // namespace

TraceLoad::TraceLoad(SerialLink& link, TraceMode mode) {
    if (mode == TraceMode::None) return;
    link.setTrace([this](const TraceEvent& e) { queue_.push(e); });
    if (mode == TraceMode::Drain) {
        queue_.setListening(true);
        reader_ = std::thread([this] { readLoop(); });
    }
}

TraceLoad::~TraceLoad() {
    stop_.store(true);
    if (reader_.joinable()) reader_.join();
}

void TraceLoad::readLoop() {
    TraceDecoder decoder(queue_.openedTick());
    std::deque<TraceLine> kept;
    std::vector<TraceLine> fresh;
    while (!stop_.load()) {
        std::this_thread::sleep_for(kPollPeriod);
        fresh.clear();
        lost_ += decodeQueued(queue_, decoder, queue_.capacity(), fresh);
        lines_ += fresh.size();
        for (TraceLine& l : fresh) kept.push_back(std::move(l));
        while (kept.size() > kTraceLinesKept) kept.pop_front();
    }
}

}  // namespace zr::bench
