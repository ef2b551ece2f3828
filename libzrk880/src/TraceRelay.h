#pragma once

#include <condition_variable>
#include <mutex>
#include <vector>

#include "link/TraceEvent.h"
#include "params/TraceDecoder.h"
#include "zrk880.h"

namespace zr::lib {

// Turns the link's trace events into the trace window's lines and hands them
// to the caller's trace callback. Installed on the link for its whole life;
// it decodes only while a callback is set.
class TraceRelay {
  public:
    void setCallback(zrk880_trace_fn callback, void* user);
    // On the link's worker.
    void onEvent(const TraceEvent& event);
    // Hands over the line the decoder holds back for what the link makes of
    // it: called when a call's exchanges have ended.
    void flush();
    // Waits until the worker has reported its start, so that a callback set
    // after the opening never sees it: true once it has.
    bool waitOpened();

  private:
    void deliver(const std::vector<TraceLine>& lines);

    std::mutex mutex_;
    std::condition_variable openedCv_;
    bool opened_ = false;
    TraceDecoder decoder_;
    zrk880_trace_fn callback_ = nullptr;
    void* user_ = nullptr;
};

}  // namespace zr::lib
