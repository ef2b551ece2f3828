#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "link/Clock.h"

namespace zr::sim {

// One frame the camera received, as it came off the line.
struct ReceivedFrame {
    uint32_t tick;      // clock tick when its last byte arrived
    std::string bytes;  // the raw 18 bytes
    std::string text;   // the 10 command characters
    bool checksumOk;
};

// The simulated ZR-K880TM: speaks the frame protocol, holds the register map
// and behaves like the camera (memories, factory setting, adjust mode, white
// spot detection, automatic gain adjustment, look-up tables, identity texts,
// temperature), with fault injection on demand. Thread-safe: the host side may
// write and read from one thread while a test configures it from another.
class CameraModel {
public:
    explicit CameraModel(Clock& clock);

    // Host -> camera bytes.
    void hostWrite(const uint8_t* data, size_t count);
    // Camera -> host bytes that are due now; at most `max`.
    size_t hostRead(uint8_t* buffer, size_t max);

    // Registers: three data bytes per (area without bit 7, address).
    uint32_t reg(uint8_t area, uint8_t address) const;  // bytes as 0xD1D2D3
    void setReg(uint8_t area, uint8_t address, uint32_t bytes);

    std::vector<ReceivedFrame> frames() const;
    std::vector<std::string> commandTexts() const;
    void clearLog();

    // Further members (faults, behaviour settings) are declared by the model.
};

}  // namespace zr::sim
