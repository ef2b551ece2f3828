#pragma once

namespace zr {

// A descriptor that becomes readable when signalled, so that a thread
// waiting in poll() for input can also be woken by another thread. Signals
// add up until taken; take() resets it, so it also serves as an auto-reset
// event whose waiters poll its descriptor. Without a descriptor (creation
// failed) signal and take do nothing and report nothing.
class WakeSignal {
  public:
    WakeSignal();
    ~WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    void signal();
    // Resets the signal; true when it was set.
    bool take();
    int fd() const { return fd_; }

  private:
    int fd_;
};

}  // namespace zr
