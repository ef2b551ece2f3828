#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "link/SerialLink.h"
#include "link/TraceQueue.h"

namespace zr::bench {

// What the link trace costs the exchanges: the panel's hook and queue on the
// link, with nobody listening (the trace window closed) or with a reader that
// drains and decodes every poll period as the open window does.
enum class TraceMode { None, Idle, Drain };

class TraceLoad {
  public:
    // Installs the hook; the link must be closed.
    TraceLoad(SerialLink& link, TraceMode mode);
    ~TraceLoad();
    TraceLoad(const TraceLoad&) = delete;
    TraceLoad& operator=(const TraceLoad&) = delete;

    uint64_t lines() const { return lines_.load(); }
    uint64_t lost() const { return lost_.load(); }

  private:
    void readLoop();

    TraceQueue queue_;
    std::atomic<bool> stop_{false};
    std::atomic<uint64_t> lines_{0};
    std::atomic<uint64_t> lost_{0};
    std::thread reader_;
};

}  // namespace zr::bench
