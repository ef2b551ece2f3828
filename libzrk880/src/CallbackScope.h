#pragma once

namespace zr::lib {

// Marks the thread as running a caller's callback. The handle is held then
// (by this thread or by the link's worker, which waits for the callback), so
// a call back into the library from there would wait for itself; it is
// refused instead.
class CallbackScope {
  public:
    CallbackScope() : outer_(active_) { active_ = true; }
    ~CallbackScope() { active_ = outer_; }
    CallbackScope(const CallbackScope&) = delete;
    CallbackScope& operator=(const CallbackScope&) = delete;

    static bool active() { return active_; }

  private:
    bool outer_;
    static thread_local bool active_;
};

}  // namespace zr::lib
