#pragma once

namespace zr {

// A descriptor that becomes readable when signalled, so that a thread
// waiting in poll() for input can also be woken by another thread. Signals
// add up until drained. Without a descriptor (creation failed) signal and
// drain do nothing and waits simply run to their time limit.
class WakeSignal {
  public:
    WakeSignal();
    ~WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    void signal();
    void drain();
    int fd() const { return fd_; }

  private:
    int fd_;
};

}  // namespace zr
