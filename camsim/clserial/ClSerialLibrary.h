#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/SystemClock.h"
#include "model/CameraModel.h"

namespace zr::sim {

// The state behind the exported Camera Link serial functions: one simulated
// camera per port, configured from the environment (see ClSerialExports.cpp).
class ClSerialLibrary {
  public:
    struct Port {
        CameraModel model{SystemClock::instance()};
        bool open = false;
    };

    static ClSerialLibrary& instance();

    uint32_t portCount() const;
    std::string manufacturer(uint32_t index) const;
    std::string portId(uint32_t index) const;
    uint32_t baudRateMask() const;

    int32_t open(uint32_t index, void** ref);
    void close(void* ref);
    // The open port behind a reference, or nullptr.
    Port* port(void* ref);
    int32_t read(void* ref, uint8_t* buffer, uint32_t* size, uint32_t timeoutMs);
    int32_t write(void* ref, const uint8_t* buffer, uint32_t size);
    int32_t setBaudRate(void* ref, uint32_t bit);

  private:
    ClSerialLibrary() = default;

    std::mutex mutex_;
    std::vector<std::unique_ptr<Port>> ports_;
};

}  // namespace zr::sim
