#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace zr::test {

// Polls a condition in real time; for waiting on another thread or process.
// False when it stayed false for `limit`.
inline bool eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace zr::test
