#include "link/TraceQueue.h"

#include <algorithm>
#include <cstring>

namespace zr {

TraceQueue::TraceQueue(size_t capacity) : ring_(std::max<size_t>(capacity, 1)) {}

void TraceQueue::push(const TraceEvent& event) {
    if (event.kind == TraceEvent::Kind::Opened)
        openedTick_.store(event.tick, std::memory_order_relaxed);
    const uint32_t session = session_.load(std::memory_order_acquire);
    if (session == 0) return;
    // An event goes in whole or not at all; only this thread adds, so the
    // room found here cannot shrink before the records are written.
    const size_t parts = std::max<size_t>(1, (event.count + kRecordBytes - 1) / kRecordBytes);
    const size_t head = head_.load(std::memory_order_relaxed);
    if (ring_.size() - (head - tail_.load(std::memory_order_acquire)) < parts) {
        dropped_.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    for (size_t i = 0; i < parts; ++i) {
        Record& r = ring_[(head + i) % ring_.size()];
        const size_t from = i * kRecordBytes;
        const size_t count = std::min(event.count - std::min(event.count, from), kRecordBytes);
        r.kind = event.kind;
        r.tick = event.tick;
        r.number = event.number;
        r.session = session;
        r.count = static_cast<uint8_t>(count);
        if (count > 0) std::memcpy(r.bytes.data(), event.data + from, count);
    }
    head_.store(head + parts, std::memory_order_release);
}

void TraceQueue::setListening(bool on) {
    if (!on) {
        session_.store(0, std::memory_order_release);
        return;
    }
    if (listening()) return;
    if (++sessions_ == 0) ++sessions_;  // 0 means nobody listens
    readerSession_ = sessions_;
    session_.store(sessions_, std::memory_order_release);
}

size_t TraceQueue::drain(std::vector<Record>& out, size_t max) {
    const size_t tail = tail_.load(std::memory_order_relaxed);
    const size_t n = std::min(head_.load(std::memory_order_acquire) - tail, max);
    for (size_t i = 0; i < n; ++i) {
        const Record& r = ring_[(tail + i) % ring_.size()];
        if (r.session == readerSession_) out.push_back(r);
    }
    tail_.store(tail + n, std::memory_order_release);
    return n;
}

void TraceQueue::discard() {
    tail_.store(head_.load(std::memory_order_acquire), std::memory_order_release);
    dropped_.store(0, std::memory_order_relaxed);
}

}  // namespace zr
