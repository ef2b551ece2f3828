#include "TraceLoad.h"

#include <chrono>
#include <deque>
#include <vector>

#include "params/TraceDecoder.h"

namespace zr::bench {

namespace {
// The trace window's poll period and line limit.
constexpr auto kPollPeriod = std::chrono::milliseconds(50);
constexpr size_t kMaxLines = 10000;
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
    std::vector<TraceQueue::Record> records;
    std::vector<TraceLine> fresh;
    while (!stop_.load()) {
        std::this_thread::sleep_for(kPollPeriod);
        records.clear();
        fresh.clear();
        queue_.drain(records, queue_.capacity());
        for (const TraceQueue::Record& r : records) decoder.feed(r.event(), fresh);
        if (records.empty()) decoder.flush(fresh);
        lost_ += queue_.takeDropped();
        lines_ += fresh.size();
        for (TraceLine& l : fresh) kept.push_back(std::move(l));
        while (kept.size() > kMaxLines) kept.pop_front();
    }
}

}  // namespace zr::bench
