#pragma once

#include <cstdint>
#include <span>

namespace zr::sim {

// What a register does beyond holding the value last written.
enum class RegisterRole : uint8_t {
    Setting,          // holds what was written
    Command,          // starts something; a setting memory does not restore it
    WhiteSpotDetect,  // write 1 starts a detection; reads give its status
    MemoryLoad,       // loads a setting memory; reads back the memory loaded last
    MemorySave,       // saves the current settings into a memory
    FactorySetting,   // loads the DEFAULT memory
    AdjustKey,        // the key value opens the adjust mode, anything else closes it
    AutoGain,         // write 1 starts the automatic gain adjustment; reads give its status
    AdjustGain,       // set by a successful automatic gain adjustment
    IdentityText,     // vendor, model, serial number, CPU and FPGA versions, in that order;
                      // two characters per register
    Temperature,      // reads give the sensor's temperature in tenths of a degree
    FullInitialise,   // the accepted value, in the open adjust mode, resets everything
    LutEntry,         // one look-up table entry; powers on as the identity curve
    SpotCoordinate,   // a held white spot list: x at 2n, y at 2n + 1; 0xFFFF ends it
};

// How long a register keeps a value.
enum class RegisterKeep : uint8_t {
    InMemory,        // travels with a setting memory, in table order
    UntilFullReset,  // a full initialisation puts back its power-on value
    Always,          // keeps its value through everything but a write
};

// One register, or `count` registers at consecutive addresses that share
// everything but their address.
struct CameraRegister {
    const char* name;
    uint8_t area;  // as written; reads set bit 7
    uint8_t address;
    uint16_t count;
    uint8_t width;    // data bytes, high byte first
    int32_t powerOn;  // value after power-on
    int32_t min;      // the range the camera is built for; the camera stores
    int32_t max;      // other values as sent, unless its role says otherwise
    RegisterKeep keep;
    RegisterRole role = RegisterRole::Setting;

    bool accepts(int value) const { return value >= min && value <= max; }
};

// The camera's registers as the camera knows them: the one description the
// simulated camera works from.
class CameraRegisters {
  public:
    // Registers kept InMemory, in table order, fill a memory's slots.
    static constexpr int kMemorySlots = 50;

    static std::span<const CameraRegister> all();
    // The `nth` register (0 = first) with `role`; every role used by the
    // camera is present.
    static const CameraRegister& withRole(RegisterRole role, int nth = 0);
};

}  // namespace zr::sim
