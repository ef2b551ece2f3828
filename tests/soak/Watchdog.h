#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace zr::test {

// Fails the run when one operator action does not come back in time: prints
// the replay line, the last actions and every thread's stack (through gdb,
// when the system lets a process be traced by its child), then aborts. A hang
// never returns, so no later check could report it.
class Watchdog {
  public:
    explicit Watchdog(std::string replayLine);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void arm(const std::string& action, std::chrono::milliseconds budget);
    void disarm();
    // Kept for the report: the last few actions and what they met.
    void note(const std::string& line);
    // Prints the report (without stacks) and aborts; for failures found by
    // a check rather than by the clock.
    [[noreturn]] void fail(const std::string& why);

  private:
    void watch();
    void report(const std::string& why, bool stacks);

    std::mutex mutex_;
    std::mutex reporting_;  // one report, then the abort
    std::condition_variable changed_;
    std::string replayLine_;
    std::deque<std::string> notes_;
    std::string action_;
    bool armed_ = false;
    bool stop_ = false;
    std::chrono::steady_clock::time_point deadline_;
    std::thread thread_;
};

}  // namespace zr::test
