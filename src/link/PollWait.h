#pragma once

#include <cstddef>
#include <cstdint>

namespace zr {

// What a wait on descriptors found: bit i stands for the i-th descriptor.
struct WaitResult {
    uint32_t readable = 0;  // has input (or says so)
    uint32_t broken = 0;    // hung up or failed: a vanished device
};

// Waits until one of the descriptors (negative ones are skipped, at most 8)
// has input or has hung up, or `timeoutMs` has passed; a negative time-out
// waits without limit. With no descriptor it simply sleeps the time. An
// interrupted wait ends early, as an empty result.
WaitResult pollDescriptors(const int* fds, size_t count, int timeoutMs);

}  // namespace zr
