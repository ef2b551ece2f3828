#include "model/CameraRegisters.h"

#include <array>
#include <cstdlib>

namespace zr::sim {

namespace {

using enum RegisterRole;
using enum RegisterKeep;

constexpr uint8_t kSettings = 0x01;
constexpr uint8_t kGainStep = 0x02;
constexpr uint8_t kIdentity = 0x10;
constexpr uint8_t kAdjust = 0x30;

// In the order of the camera's register list: the settings (the order in
// which a setting memory keeps them), the memory commands, the adjustment
// and identity registers, then the registers reached by raw commands only.
// Columns: name, area, address, count, width, power-on, min, max, keep, role.
constexpr std::array<CameraRegister, 86> kCameraRegisterTable{{
    {"trigger mode", kSettings, 0x04, 1, 1, 0, 0, 4, InMemory},
    {"trigger source", kSettings, 0x05, 1, 1, 0, 0, 2, InMemory},
    {"output signal", kSettings, 0x06, 1, 1, 0, 0, 2, InMemory},
    {"output polarity", kSettings, 0x55, 1, 1, 0, 0, 1, InMemory},
    {"shutter speed", kSettings, 0x08, 1, 1, 0, 0, 255, InMemory},
    {"automatic level control", kSettings, 0x0B, 1, 1, 0, 0, 3, InMemory},
    {"gain level", kSettings, 0x0C, 1, 2, 0, 0, 341, InMemory},
    {"trigger polarity", kSettings, 0x0F, 1, 1, 0, 0, 1, InMemory},
    {"auxiliary switch", kSettings, 0x10, 1, 1, 0, 0, 1, InMemory},
    {"variable shutter", kSettings, 0x11, 1, 2, 834, 0, 1536, InMemory},
    {"Camera Link data bits", kSettings, 0x14, 1, 1, 0, 0, 2, InMemory},
    {"Camera Link vertical sync", kSettings, 0x15, 1, 1, 1, 0, 1, InMemory},
    {"Camera Link horizontal sync", kSettings, 0x16, 1, 1, 1, 0, 1, InMemory},
    {"brightness level", kSettings, 0x17, 1, 1, 128, 0, 255, InMemory},
    {"gamma switch", kSettings, 0x23, 1, 1, 0, 0, 1, InMemory},
    {"gamma level", kSettings, 0x24, 1, 1, 128, 0, 255, InMemory},
    {"ALC video level", kSettings, 0x26, 1, 1, 128, 0, 255, InMemory},
    {"sharpness switch", kSettings, 0x27, 1, 1, 0, 0, 1, InMemory},
    {"sharpness level", kSettings, 0x28, 1, 1, 128, 0, 255, InMemory},
    {"white balance mode", kSettings, 0x29, 1, 1, 2, 0, 3, InMemory},
    {"white balance R gain", kSettings, 0x2A, 1, 1, 128, 0, 255, InMemory},
    {"white balance B gain", kSettings, 0x2B, 1, 1, 128, 0, 255, InMemory},
    {"white balance G gain", kSettings, 0x2E, 1, 1, 128, 0, 255, InMemory},
    {"masking switch", kSettings, 0x31, 1, 1, 0, 0, 1, InMemory},
    {"masking saturation R", kSettings, 0x32, 1, 1, 128, 0, 255, InMemory},
    {"masking hue R", kSettings, 0x33, 1, 1, 128, 0, 255, InMemory},
    {"masking saturation Cy", kSettings, 0x34, 1, 1, 128, 0, 255, InMemory},
    {"masking hue Cy", kSettings, 0x35, 1, 1, 128, 0, 255, InMemory},
    {"masking saturation G", kSettings, 0x36, 1, 1, 128, 0, 255, InMemory},
    {"masking hue G", kSettings, 0x37, 1, 1, 128, 0, 255, InMemory},
    {"masking saturation Mg", kSettings, 0x38, 1, 1, 128, 0, 255, InMemory},
    {"masking hue Mg", kSettings, 0x39, 1, 1, 128, 0, 255, InMemory},
    {"masking saturation B", kSettings, 0x3A, 1, 1, 128, 0, 255, InMemory},
    {"masking hue B", kSettings, 0x3B, 1, 1, 128, 0, 255, InMemory},
    {"masking saturation Ye", kSettings, 0x3C, 1, 1, 128, 0, 255, InMemory},
    {"masking hue Ye", kSettings, 0x3D, 1, 1, 128, 0, 255, InMemory},
    {"paint black switch", kSettings, 0x3E, 1, 1, 0, 0, 1, InMemory},
    {"paint black R", kSettings, 0x3F, 1, 1, 0, 0, 255, InMemory},
    {"paint black G", kSettings, 0x40, 1, 1, 0, 0, 255, InMemory},
    {"paint black B", kSettings, 0x41, 1, 1, 0, 0, 255, InMemory},
    {"knee switch", kSettings, 0x42, 1, 1, 0, 0, 1, InMemory},
    {"knee point", kSettings, 0x43, 1, 1, 0, 0, 32, InMemory},
    {"knee slope", kSettings, 0x44, 1, 1, 0, 0, 159, InMemory},
    {"look-up table switch", kSettings, 0x25, 1, 1, 0, 0, 1, InMemory},
    {"white spot correction switch", kSettings, 0x4B, 1, 1, 1, 0, 1, InMemory},
    {"white spot threshold level", kSettings, 0x4C, 1, 1, 96, 0, 255, InMemory},
    {"white spot detection", kSettings, 0x4D, 1, 1, 0, 0, 2, InMemory, WhiteSpotDetect},
    {"white shading switch", kSettings, 0x52, 1, 1, 0, 0, 1, InMemory},
    {"white shading adjustment", kSettings, 0x53, 1, 1, 0, 0, 3, InMemory, Command},
    {"smear correction switch", kSettings, 0x56, 1, 1, 0, 0, 1, InMemory},
    {"setting memory load", kSettings, 0x02, 1, 1, 0, 0, 4, UntilFullReset, MemoryLoad},
    {"setting memory save", kSettings, 0x03, 1, 1, 1, 1, 4, UntilFullReset, MemorySave},
    {"factory setting", kSettings, 0x45, 1, 1, 1, 1, 1, UntilFullReset, FactorySetting},
    {"adjust-mode key", kAdjust, 0x00, 1, 2, 0, 0, 65535, Always, AdjustKey},
    {"adjust-mode flag", kAdjust, 0x63, 1, 1, 0, 0, 1, UntilFullReset},
    {"gain-step flag", kGainStep, 0x0D, 1, 1, 0, 0, 1, UntilFullReset},
    {"sub voltage R", kAdjust, 0x77, 1, 1, 150, 100, 255, UntilFullReset},
    {"sub voltage G", kAdjust, 0x78, 1, 1, 150, 100, 255, UntilFullReset},
    {"sub voltage B", kAdjust, 0x79, 1, 1, 150, 100, 255, UntilFullReset},
    {"adjustment gain R, G, B", kAdjust, 0x1B, 3, 2, 0, 0, 256, UntilFullReset, AdjustGain},
    {"automatic gain adjustment", kAdjust, 0x1A, 1, 1, 1, 1, 2, UntilFullReset, AutoGain},
    {"horizontal registration R", kAdjust, 0x14, 1, 1, 0, 0, 17, UntilFullReset},
    {"horizontal registration G", kAdjust, 0x15, 1, 1, 0, 0, 17, UntilFullReset},
    {"horizontal registration B", kAdjust, 0x16, 1, 1, 0, 0, 17, UntilFullReset},
    {"vertical registration R", kAdjust, 0x11, 1, 1, 0, 0, 17, UntilFullReset},
    {"vertical registration G", kAdjust, 0x12, 1, 1, 0, 0, 17, UntilFullReset},
    {"vertical registration B", kAdjust, 0x13, 1, 1, 0, 0, 17, UntilFullReset},
    {"registration switch", kAdjust, 0x10, 1, 1, 0, 0, 1, UntilFullReset},
    {"white spot R", kAdjust, 0x4D, 1, 1, 0, 0, 255, UntilFullReset},
    {"white spot G", kAdjust, 0x4E, 1, 1, 0, 0, 255, UntilFullReset},
    {"white spot B", kAdjust, 0x4F, 1, 1, 0, 0, 255, UntilFullReset},
    {"adjustment save", kAdjust, 0x03, 1, 2, 4, 4, 65535, UntilFullReset},
    {"vendor name", kIdentity, 0x00, 8, 2, 0, 0, 65535, Always, IdentityText},
    {"model name", kIdentity, 0x08, 8, 2, 0, 0, 65535, Always, IdentityText},
    {"serial number", kIdentity, 0x10, 4, 2, 0, 0, 65535, Always, IdentityText},
    {"CPU version", kIdentity, 0x14, 2, 2, 0, 0, 65535, Always, IdentityText},
    {"FPGA version", kIdentity, 0x16, 2, 2, 0, 0, 65535, Always, IdentityText},
    {"temperature, first register", kAdjust, 0x7F, 1, 2, 0, 0, 65535, Always, Temperature},
    {"temperature", kAdjust, 0x7E, 1, 2, 0, 0, 65535, Always, Temperature},
    // Acts on 0xFFFF only.
    {"full initialisation", kAdjust, 0x01, 1, 2, 0, 0xFFFF, 0xFFFF, Always, FullInitialise},
    {"look-up table RED", 0x20, 0x00, 256, 1, 0, 0, 255, Always, LutEntry},
    {"look-up table GREEN", 0x21, 0x00, 256, 1, 0, 0, 255, Always, LutEntry},
    {"look-up table BLUE", 0x22, 0x00, 256, 1, 0, 0, 255, Always, LutEntry},
    {"white spot list RED", 0x0C, 0x00, 128, 2, 0xFFFF, 0, 65535, Always, SpotCoordinate},
    {"white spot list GREEN", 0x0D, 0x00, 128, 2, 0xFFFF, 0, 65535, Always, SpotCoordinate},
    {"white spot list BLUE", 0x0E, 0x00, 128, 2, 0xFFFF, 0, 65535, Always, SpotCoordinate},
}};

constexpr int countInMemory() {
    int n = 0;
    for (const auto& reg : kCameraRegisterTable) n += reg.keep == InMemory ? reg.count : 0;
    return n;
}
static_assert(countInMemory() == CameraRegisters::kMemorySlots);

}  // namespace

std::span<const CameraRegister> CameraRegisters::all() {
    return kCameraRegisterTable;
}

const CameraRegister& CameraRegisters::withRole(RegisterRole role, int nth) {
    for (const auto& reg : kCameraRegisterTable) {
        if (reg.role == role && nth-- == 0) return reg;
    }
    std::abort();  // a role the table lacks is a fault of the table
}

}  // namespace zr::sim
