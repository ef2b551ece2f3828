#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "link/Message.h"
#include "link/WakeSignal.h"

namespace zr {

// Shows message boxes on the thread that serves the user interface.
//
// show() called on that thread goes straight to the sink. Called on any other
// thread (the link worker) it queues the message, calls the wake-up hook so the
// UI side can serve it when idle, and blocks until the message was shown and
// closed. Every wait of the UI thread inside the link calls servePending(), so
// a worker message never deadlocks against a UI thread blocked in the link.
class MessageRelay {
  public:
    // How a message shown on another thread than the UI thread reaches the sink.
    enum class Delivery {
        UiThread,  // handed to the UI thread, whose waits serve it (the panel)
        // Shown at once on the thread that shows it: for a sink that is
        // thread-safe and never blocks (a library recording a call's
        // failures), where any thread may be the caller and none serves.
        Direct,
    };

    // The constructing thread is taken as the UI thread.
    explicit MessageRelay(MessageSink& sink, Delivery delivery = Delivery::UiThread);

    MsgResult show(const Message& message);

    // UI thread only: shows every queued worker message, in order.
    // Returns true if at least one was shown.
    bool servePending();
    bool hasPending();
    // True on the UI thread while it shows a worker message: the worker is
    // blocked until that box closes, so nothing may wait for the link here
    // (a tool window's timer firing inside the box's event loop, say).
    bool servingWorkerMessage();

    // Called on the queuing thread right after a worker message was queued.
    void setWakeup(std::function<void()> wakeup);
    // Readable while a worker message may be waiting, so that a UI thread
    // blocked in poll() for the link can wake to serve it; servePending()
    // resets it.
    int pendingFd() const { return pendingSignal_.fd(); }

    void setSink(MessageSink& sink);
    bool onUiThread() const { return std::this_thread::get_id() == uiThread_; }

  private:
    struct Pending {
        Message message;
        MsgResult result = MsgResult::Ok;
        bool done = false;
    };

    MessageSink* sink_;
    Delivery delivery_;
    std::thread::id uiThread_;
    std::mutex mutex_;
    std::condition_variable doneCv_;
    std::deque<Pending*> queue_;
    std::function<void()> wakeup_;
    bool serving_ = false;
    WakeSignal pendingSignal_;
};

}  // namespace zr
