#include "link/MessageRelay.h"

namespace zr {

MessageRelay::MessageRelay(MessageSink& sink, Delivery delivery)
    : sink_(&sink), delivery_(delivery), uiThread_(std::this_thread::get_id()) {}

void MessageRelay::setSink(MessageSink& sink) {
    sink_ = &sink;
}

void MessageRelay::setWakeup(std::function<void()> wakeup) {
    std::lock_guard lock(mutex_);
    wakeup_ = std::move(wakeup);
}

MsgResult MessageRelay::show(const Message& message) {
    if (delivery_ == Delivery::Direct || onUiThread()) return sink_->show(message);

    Pending pending{message};
    std::function<void()> wakeup;
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(&pending);
        wakeup = wakeup_;
    }
    pendingSignal_.signal();
    if (wakeup) wakeup();
    std::unique_lock lock(mutex_);
    doneCv_.wait(lock, [&] { return pending.done; });
    return pending.result;
}

bool MessageRelay::hasPending() {
    std::lock_guard lock(mutex_);
    return !queue_.empty();
}

bool MessageRelay::servingWorkerMessage() {
    if (!onUiThread()) return false;
    std::lock_guard lock(mutex_);
    return serving_;
}

bool MessageRelay::servePending() {
    // Taken before the queue is looked at: a message queued from now on
    // signals again.
    pendingSignal_.take();
    bool shown = false;
    for (;;) {
        Pending* next = nullptr;
        {
            std::lock_guard lock(mutex_);
            // A sink that runs a local event loop may call back in here; the
            // outer call keeps serving, so the nested one returns at once.
            if (serving_ || queue_.empty()) return shown;
            next = queue_.front();
            queue_.pop_front();
            serving_ = true;
        }
        MsgResult result = sink_->show(next->message);
        {
            std::lock_guard lock(mutex_);
            serving_ = false;
            next->result = result;
            next->done = true;
        }
        doneCv_.notify_all();
        shown = true;
    }
}

}  // namespace zr
