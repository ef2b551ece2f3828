#pragma once

#include <cstdint>
#include <string_view>

namespace zr {

// One camera register: where it lives, its default, the range a write must
// respect and the last value known to the system.
struct CameraParam {
    uint8_t readArea;  // writeArea with bit 7 set
    uint8_t writeArea;
    uint8_t address;
    int32_t defaultValue;
    int32_t minValue;  // inclusive
    int32_t maxValue;  // inclusive; above 255 the register carries 2 data bytes
    int32_t value;
    // Stable snake_case name for scripts and snapshot files; empty for the
    // two empty rows.
    std::string_view name;

    // The data width is derived from the range only.
    int dataBytes() const { return maxValue > 255 ? 2 : 1; }
};

}  // namespace zr
