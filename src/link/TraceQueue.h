#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/TraceEvent.h"

namespace zr {

// Hands the link's trace events from its worker to one reader (the trace
// window) without ever making the worker wait: a fixed ring, one writer and
// one reader. While nobody listens an event costs one relaxed load; an event
// that finds no room is dropped whole and counted. The link calls its hook
// from one thread at a time (its worker), which is what this relies on.
class TraceQueue {
  public:
    // Bytes one record holds; longer chunks take several records.
    static constexpr size_t kRecordBytes = 100;

    struct Record {
        TraceEvent::Kind kind = TraceEvent::Kind::Sent;
        uint8_t count = 0;
        int number = 0;
        uint32_t tick = 0;
        uint32_t session = 0;  // the listening it was pushed in
        std::array<uint8_t, kRecordBytes> bytes{};

        // The event again, its bytes pointing into this record.
        TraceEvent event() const { return {kind, tick, bytes.data(), count, number}; }
    };

    explicit TraceQueue(size_t capacity = 2048);
    TraceQueue(const TraceQueue&) = delete;
    TraceQueue& operator=(const TraceQueue&) = delete;

    // --- the worker's side -------------------------------------------------
    void push(const TraceEvent& event);

    // --- the reader's side -------------------------------------------------
    // Events are kept only while listening; until then they are not even
    // copied. Each start of listening is a new session: an event whose push
    // began in an earlier one (the worker may be halfway through it while the
    // reader stops and starts again) is never handed to the reader.
    void setListening(bool on);
    bool listening() const { return session_.load(std::memory_order_relaxed) != 0; }
    // Moves up to `max` records of the reader's last session, oldest first,
    // to the end of `out`; how many it took off the queue. A reader that has
    // stopped listening still gets what its session left.
    size_t drain(std::vector<Record>& out, size_t max);
    // Forgets what is queued, so that a reader starting anew sees no stale events.
    void discard();
    // Events dropped for want of room since the last call.
    uint64_t takeDropped() { return dropped_.exchange(0, std::memory_order_relaxed); }
    // The tick of the last opening, kept also while nobody listens, so that a
    // reader that starts later still counts time from it.
    uint32_t openedTick() const { return openedTick_.load(std::memory_order_relaxed); }
    size_t capacity() const { return ring_.size(); }

  private:
    std::vector<Record> ring_;
    std::atomic<uint32_t> session_{0};  // 0 while nobody listens
    uint32_t readerSession_ = 0;        // the reader's last session; the reader's
    uint32_t sessions_ = 0;             // sessions started; the reader's
    std::atomic<size_t> head_{0};       // next to write; the worker's
    std::atomic<size_t> tail_{0};       // next to read; the reader's
    std::atomic<uint64_t> dropped_{0};
    std::atomic<uint32_t> openedTick_{0};
};

}  // namespace zr
