#include "Watchdog.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace zr::test {

namespace {
constexpr size_t kNotesKept = 40;
}

Watchdog::Watchdog(std::string replayLine) : replayLine_(std::move(replayLine)) {
    // Lets gdb, started by this process, attach to it.
    prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);
    thread_ = std::thread([this] { watch(); });
}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void Watchdog::arm(const std::string& action, std::chrono::milliseconds budget) {
    {
        std::lock_guard lock(mutex_);
        action_ = action;
        armed_ = true;
        deadline_ = std::chrono::steady_clock::now() + budget;
    }
    changed_.notify_all();
}

void Watchdog::disarm() {
    std::lock_guard lock(mutex_);
    armed_ = false;
}

void Watchdog::note(const std::string& line) {
    std::lock_guard lock(mutex_);
    notes_.push_back(line);
    if (notes_.size() > kNotesKept) notes_.pop_front();
}

void Watchdog::fail(const std::string& why) {
    report(why, false);
    std::abort();
}

void Watchdog::watch() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (!armed_) {
            changed_.wait(lock);
            continue;
        }
        if (changed_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ &&
            std::chrono::steady_clock::now() >= deadline_) {
            const std::string why = "action \"" + action_ + "\" did not return in time";
            lock.unlock();
            report(why, true);
            std::abort();
        }
    }
}

void Watchdog::report(const std::string& why, bool stacks) {
    // A second failure (the user interface thread going on while gdb looks
    // at a slow action) waits here for the abort of the first.
    reporting_.lock();
    std::string text;
    {
        std::lock_guard lock(mutex_);
        text = "\n=== soak failure: " + why + "\n--- last actions:\n";
        for (const std::string& line : notes_) text += "  " + line + "\n";
    }
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
    if (stacks) {
        const std::string command = "timeout 60 gdb -p " + std::to_string(::getpid()) +
                                    " -batch -ex 'thread apply all bt' 1>&2 2>/dev/null";
        std::fputs("--- stacks:\n", stderr);
        std::fflush(stderr);
        if (std::system(command.c_str()) != 0) std::fputs("(gdb could not attach)\n", stderr);
    }
    std::fprintf(stderr, "--- replay: %s\n", replayLine_.c_str());
    std::fflush(stderr);
}

}  // namespace zr::test
