#include "link/TraceQueue.h"

#include <algorithm>
#include <cstring>

namespace zr {

TraceQueue::TraceQueue(size_t capacity) : ring_(std::max<size_t>(capacity, 1)) {}

void TraceQueue::push(const TraceEvent& event) {
    if (event.kind == TraceEvent::Kind::Opened)
        openedTick_.store(event.tick, std::memory_order_relaxed);
    if (!listening_.load(std::memory_order_relaxed)) return;
    size_t done = 0;
    do {
        const size_t part = std::min(event.count - done, kRecordBytes);
        if (!pushRecord(event, event.data ? event.data + done : nullptr, part)) {
            // The rest of a long chunk would have no head: drop it whole.
            const size_t left = event.count - done;
            dropped_.fetch_add(left == 0 ? 1 : (left + kRecordBytes - 1) / kRecordBytes,
                               std::memory_order_relaxed);
            return;
        }
        done += part;
    } while (done < event.count);
}

bool TraceQueue::pushRecord(const TraceEvent& event, const uint8_t* data, size_t count) {
    const size_t head = head_.load(std::memory_order_relaxed);
    if (head - tail_.load(std::memory_order_acquire) >= ring_.size()) return false;
    Record& r = ring_[head % ring_.size()];
    r.kind = event.kind;
    r.tick = event.tick;
    r.number = event.number;
    r.count = static_cast<uint8_t>(count);
    if (count > 0) std::memcpy(r.bytes.data(), data, count);
    head_.store(head + 1, std::memory_order_release);
    return true;
}

size_t TraceQueue::drain(std::vector<Record>& out, size_t max) {
    const size_t tail = tail_.load(std::memory_order_relaxed);
    const size_t n = std::min(head_.load(std::memory_order_acquire) - tail, max);
    for (size_t i = 0; i < n; ++i) out.push_back(ring_[(tail + i) % ring_.size()]);
    tail_.store(tail + n, std::memory_order_release);
    return n;
}

void TraceQueue::discard() {
    tail_.store(head_.load(std::memory_order_acquire), std::memory_order_release);
    dropped_.store(0, std::memory_order_relaxed);
}

}  // namespace zr
