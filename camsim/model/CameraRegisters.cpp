#include "model/CameraRegisters.h"

#include <array>
#include <cstdlib>

namespace zr::sim {

namespace {

constexpr uint8_t kSettingsArea = 0x01;
constexpr uint8_t kGainStepArea = 0x02;
constexpr uint8_t kIdentityArea = 0x10;
constexpr uint8_t kAdjustArea = 0x30;

// The user settings: one register each in the settings area, kept by the
// setting memories.
constexpr CameraRegister memorySetting(const char* name, uint8_t address, uint8_t width,
                                       int32_t powerOn, int32_t min, int32_t max,
                                       RegisterRole role = RegisterRole::Setting) {
    return {name, kSettingsArea, address, 1, width, powerOn, min, max, role, true, false};
}

// Registers that a full initialisation puts back to their power-on value.
constexpr CameraRegister resetRegister(const char* name, uint8_t area, uint8_t address,
                                       uint16_t count, uint8_t width, int32_t powerOn, int32_t min,
                                       int32_t max, RegisterRole role = RegisterRole::Setting) {
    return {name, area, address, count, width, powerOn, min, max, role, false, true};
}

// Registers that keep their value through everything but a write.
constexpr CameraRegister plainRegister(const char* name, uint8_t area, uint8_t address,
                                       uint16_t count, uint8_t width, int32_t powerOn, int32_t min,
                                       int32_t max, RegisterRole role) {
    return {name, area, address, count, width, powerOn, min, max, role, false, false};
}

// In the order of the camera's register list: the settings (the order in
// which a setting memory keeps them), the memory commands, the adjustment
// and identity registers, then the registers reached by raw commands only.
constexpr std::array kCameraRegisterTable{
    memorySetting("trigger mode", 0x04, 1, 0, 0, 4),
    memorySetting("trigger source", 0x05, 1, 0, 0, 2),
    memorySetting("output signal", 0x06, 1, 0, 0, 2),
    memorySetting("output polarity", 0x55, 1, 0, 0, 1),
    memorySetting("shutter speed", 0x08, 1, 0, 0, 255),
    memorySetting("automatic level control", 0x0B, 1, 0, 0, 3),
    memorySetting("gain level", 0x0C, 2, 0, 0, 341),
    memorySetting("trigger polarity", 0x0F, 1, 0, 0, 1),
    memorySetting("auxiliary switch", 0x10, 1, 0, 0, 1),
    memorySetting("variable shutter", 0x11, 2, 834, 0, 1536),
    memorySetting("Camera Link data bits", 0x14, 1, 0, 0, 2),
    memorySetting("Camera Link vertical sync", 0x15, 1, 1, 0, 1),
    memorySetting("Camera Link horizontal sync", 0x16, 1, 1, 0, 1),
    memorySetting("brightness level", 0x17, 1, 128, 0, 255),
    memorySetting("gamma switch", 0x23, 1, 0, 0, 1),
    memorySetting("gamma level", 0x24, 1, 128, 0, 255),
    memorySetting("ALC video level", 0x26, 1, 128, 0, 255),
    memorySetting("sharpness switch", 0x27, 1, 0, 0, 1),
    memorySetting("sharpness level", 0x28, 1, 128, 0, 255),
    memorySetting("white balance mode", 0x29, 1, 2, 0, 3),
    memorySetting("white balance R gain", 0x2A, 1, 128, 0, 255),
    memorySetting("white balance B gain", 0x2B, 1, 128, 0, 255),
    memorySetting("white balance G gain", 0x2E, 1, 128, 0, 255),
    memorySetting("masking switch", 0x31, 1, 0, 0, 1),
    memorySetting("masking saturation R", 0x32, 1, 128, 0, 255),
    memorySetting("masking hue R", 0x33, 1, 128, 0, 255),
    memorySetting("masking saturation Cy", 0x34, 1, 128, 0, 255),
    memorySetting("masking hue Cy", 0x35, 1, 128, 0, 255),
    memorySetting("masking saturation G", 0x36, 1, 128, 0, 255),
    memorySetting("masking hue G", 0x37, 1, 128, 0, 255),
    memorySetting("masking saturation Mg", 0x38, 1, 128, 0, 255),
    memorySetting("masking hue Mg", 0x39, 1, 128, 0, 255),
    memorySetting("masking saturation B", 0x3A, 1, 128, 0, 255),
    memorySetting("masking hue B", 0x3B, 1, 128, 0, 255),
    memorySetting("masking saturation Ye", 0x3C, 1, 128, 0, 255),
    memorySetting("masking hue Ye", 0x3D, 1, 128, 0, 255),
    memorySetting("paint black switch", 0x3E, 1, 0, 0, 1),
    memorySetting("paint black R", 0x3F, 1, 0, 0, 255),
    memorySetting("paint black G", 0x40, 1, 0, 0, 255),
    memorySetting("paint black B", 0x41, 1, 0, 0, 255),
    memorySetting("knee switch", 0x42, 1, 0, 0, 1),
    memorySetting("knee point", 0x43, 1, 0, 0, 32),
    memorySetting("knee slope", 0x44, 1, 0, 0, 159),
    memorySetting("look-up table switch", 0x25, 1, 0, 0, 1),
    memorySetting("white spot correction switch", 0x4B, 1, 1, 0, 1),
    memorySetting("white spot threshold level", 0x4C, 1, 96, 0, 255),
    memorySetting("white spot detection", 0x4D, 1, 0, 0, 2, RegisterRole::WhiteSpotDetect),
    memorySetting("white shading switch", 0x52, 1, 0, 0, 1),
    memorySetting("white shading adjustment", 0x53, 1, 0, 0, 3, RegisterRole::Command),
    memorySetting("smear correction switch", 0x56, 1, 0, 0, 1),

    resetRegister("setting memory load", kSettingsArea, 0x02, 1, 1, 0, 0, 4,
                  RegisterRole::MemoryLoad),
    resetRegister("setting memory save", kSettingsArea, 0x03, 1, 1, 1, 1, 4,
                  RegisterRole::MemorySave),
    resetRegister("factory setting", kSettingsArea, 0x45, 1, 1, 1, 1, 1,
                  RegisterRole::FactorySetting),

    plainRegister("adjust-mode key", kAdjustArea, 0x00, 1, 2, 0, 0, 65535, RegisterRole::AdjustKey),
    resetRegister("adjust-mode flag", kAdjustArea, 0x63, 1, 1, 0, 0, 1),
    resetRegister("gain-step flag", kGainStepArea, 0x0D, 1, 1, 0, 0, 1),
    resetRegister("sub voltage R", kAdjustArea, 0x77, 1, 1, 150, 100, 255),
    resetRegister("sub voltage G", kAdjustArea, 0x78, 1, 1, 150, 100, 255),
    resetRegister("sub voltage B", kAdjustArea, 0x79, 1, 1, 150, 100, 255),
    resetRegister("adjustment gain R, G, B", kAdjustArea, 0x1B, 3, 2, 0, 0, 256,
                  RegisterRole::AdjustGain),
    resetRegister("automatic gain adjustment", kAdjustArea, 0x1A, 1, 1, 1, 1, 2,
                  RegisterRole::AutoGain),
    resetRegister("horizontal registration R", kAdjustArea, 0x14, 1, 1, 0, 0, 17),
    resetRegister("horizontal registration G", kAdjustArea, 0x15, 1, 1, 0, 0, 17),
    resetRegister("horizontal registration B", kAdjustArea, 0x16, 1, 1, 0, 0, 17),
    resetRegister("vertical registration R", kAdjustArea, 0x11, 1, 1, 0, 0, 17),
    resetRegister("vertical registration G", kAdjustArea, 0x12, 1, 1, 0, 0, 17),
    resetRegister("vertical registration B", kAdjustArea, 0x13, 1, 1, 0, 0, 17),
    resetRegister("registration switch", kAdjustArea, 0x10, 1, 1, 0, 0, 1),
    resetRegister("white spot R", kAdjustArea, 0x4D, 1, 1, 0, 0, 255),
    resetRegister("white spot G", kAdjustArea, 0x4E, 1, 1, 0, 0, 255),
    resetRegister("white spot B", kAdjustArea, 0x4F, 1, 1, 0, 0, 255),
    resetRegister("adjustment save", kAdjustArea, 0x03, 1, 2, 4, 4, 65535),

    plainRegister("vendor name", kIdentityArea, 0x00, 8, 2, 0, 0, 65535, RegisterRole::VendorText),
    plainRegister("model name", kIdentityArea, 0x08, 8, 2, 0, 0, 65535, RegisterRole::ModelText),
    plainRegister("serial number", kIdentityArea, 0x10, 4, 2, 0, 0, 65535,
                  RegisterRole::SerialNumberText),
    plainRegister("CPU version", kIdentityArea, 0x14, 2, 2, 0, 0, 65535,
                  RegisterRole::CpuVersionText),
    plainRegister("FPGA version", kIdentityArea, 0x16, 2, 2, 0, 0, 65535,
                  RegisterRole::FpgaVersionText),
    plainRegister("temperature, first register", kAdjustArea, 0x7F, 1, 2, 0, 0, 65535,
                  RegisterRole::Temperature),
    plainRegister("temperature", kAdjustArea, 0x7E, 1, 2, 0, 0, 65535, RegisterRole::Temperature),

    // Acts on 0xFFFF only.
    plainRegister("full initialisation", kAdjustArea, 0x01, 1, 2, 0, 0xFFFF, 0xFFFF,
                  RegisterRole::FullInitialise),
    plainRegister("look-up table RED", 0x20, 0x00, 256, 1, 0, 0, 255, RegisterRole::LutEntry),
    plainRegister("look-up table GREEN", 0x21, 0x00, 256, 1, 0, 0, 255, RegisterRole::LutEntry),
    plainRegister("look-up table BLUE", 0x22, 0x00, 256, 1, 0, 0, 255, RegisterRole::LutEntry),
    plainRegister("white spot list RED", 0x0C, 0x00, 128, 2, 0xFFFF, 0, 65535,
                  RegisterRole::SpotCoordinate),
    plainRegister("white spot list GREEN", 0x0D, 0x00, 128, 2, 0xFFFF, 0, 65535,
                  RegisterRole::SpotCoordinate),
    plainRegister("white spot list BLUE", 0x0E, 0x00, 128, 2, 0xFFFF, 0, 65535,
                  RegisterRole::SpotCoordinate),
};

constexpr int countInMemory() {
    int n = 0;
    for (const auto& reg : kCameraRegisterTable) n += reg.inMemory ? reg.count : 0;
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
