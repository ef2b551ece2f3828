#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "model/BehaviourSettings.h"
#include "model/CameraRegisters.h"
#include "model/RegisterMap.h"

namespace zr::sim {

// What the camera does with the commands it accepted: the register memory and
// the command registers that act (setting memories, factory setting, adjust
// mode, white spot detection, automatic gain adjustment). Not thread-safe:
// the model serialises calls.
class CameraBehaviour {
  public:
    static constexpr int kMemoryCount = 5;  // DEFAULT, FILE 1..4
    static constexpr uint16_t kAdjustKey = 0x4A5C;

    CameraBehaviour();

    // Returns false when the camera refuses the write (it then answers NAK).
    bool write(uint8_t area, uint8_t address, uint32_t data);
    // A read as the host sees it; advances the status sequences.
    uint32_t read(uint8_t area, uint8_t address);

    // Direct register access for tests and tools, without side effects.
    uint32_t peek(uint8_t area, uint8_t address) const { return regs_.get(area, address); }
    void poke(uint8_t area, uint8_t address, uint32_t data) { regs_.set(area, address, data); }

    const BehaviourSettings& settings() const { return settings_; }
    // Identity texts that changed are written to their registers.
    void setSettings(const BehaviourSettings& settings);

    void setHeldSpots(int colour, const std::vector<Spot>& spots);
    int currentMemory() const { return currentMemory_; }
    bool adjustMode() const { return adjustMode_; }
    // The stored data of slot `row` (0..49) in setting memory `memory` (0..4).
    uint32_t memoryData(int memory, int row) const;

  private:
    using Memory = std::array<uint32_t, CameraRegisters::kMemorySlots>;
    // One register of the description: the entry and its place in it.
    struct Cell {
        const CameraRegister* reg = nullptr;
        int offset = 0;
    };

    const Cell* cellAt(uint8_t area, uint8_t address) const;
    void setCell(const CameraRegister& reg, int offset, int value);
    void loadMemory(const Memory& memory);
    Memory currentSettings() const;
    void allInitialise();
    void advanceDetection();
    void advanceAutoGain();
    // Writes identity text `nth` (0 = vendor) to its registers.
    void writeText(size_t nth, const std::string& text);

    RegisterMap regs_;
    std::unordered_map<size_t, Cell> cells_;  // by RegisterMap::slot
    std::array<Cell, CameraRegisters::kMemorySlots> memorySlots_{};
    Memory defaults_{};
    std::array<Memory, kMemoryCount> memories_{};
    BehaviourSettings settings_;
    int currentMemory_ = 0;
    bool adjustMode_ = false;
    bool detecting_ = false;
    int detectPollsLeft_ = 0;
    bool autoGainRunning_ = false;
    int autoGainPollsLeft_ = 0;
};

}  // namespace zr::sim
