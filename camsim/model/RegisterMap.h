#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zr::sim {

// The camera's register memory: three data bytes (0xD1D2D3) for every area
// (without the read bit) and address. Unknown registers read 0.
class RegisterMap {
  public:
    uint32_t get(uint8_t area, uint8_t address) const;
    void set(uint8_t area, uint8_t address, uint32_t data);

    // A register value as the wire carries it: one byte in byte 0, or two
    // (high, low) in bytes 0 and 1; and back.
    static uint32_t pack(int value, bool twoBytes);
    static int unpack(uint32_t data, bool twoBytes);
    // Where a register lives: its area without the read bit, and its address.
    static size_t slot(uint8_t area, uint8_t address);

  private:
    std::vector<uint32_t> data_ = std::vector<uint32_t>(128 * 256);
};

}  // namespace zr::sim
