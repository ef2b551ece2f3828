#pragma once

#include <array>
#include <cstddef>

#include "params/CameraParam.h"

namespace zr {

inline constexpr int UserParamCount = 53;  // rows 0..52: the user settings
inline constexpr int CameraParamRows = 102;

// Every row the rest of the program addresses, by name. Groups of registers
// read or written one after the other are named by their first row.
enum ParamRow : int {
    ROW_TRIGGER_MODE = 0,
    ROW_TRIGGER_SOURCE = 1,
    ROW_OUTPUT_SIGNAL = 2,
    ROW_OUTPUT_POLARITY = 3,
    ROW_SHUTTER_SPEED = 4,
    ROW_ALC = 5,
    ROW_GAIN_LEVEL = 6,
    ROW_TRIGGER_POLARITY = 7,
    ROW_AUX_SWITCH = 8,  // a switch register the panel has no control for
    ROW_VARIABLE_SHUTTER = 9,
    ROW_CL_DATA_BITS = 10,
    ROW_CL_VSYNC = 11,
    ROW_CL_HSYNC = 12,
    ROW_BRIGHTNESS = 13,
    ROW_GAMMA_SWITCH = 14,
    ROW_GAMMA_LEVEL = 15,
    ROW_ALC_VIDEO_LEVEL = 16,
    ROW_SHARPNESS_SWITCH = 17,
    ROW_SHARPNESS_LEVEL = 18,
    ROW_WHITE_BALANCE = 19,
    ROW_WB_R_GAIN = 20,
    ROW_WB_B_GAIN = 21,
    ROW_WB_G_GAIN = 22,
    ROW_MASKING_SWITCH = 23,
    ROW_MASKING_SAT_R = 24,
    ROW_MASKING_HUE_R = 25,
    ROW_MASKING_SAT_CY = 26,
    ROW_MASKING_HUE_CY = 27,
    ROW_MASKING_SAT_G = 28,
    ROW_MASKING_HUE_G = 29,
    ROW_MASKING_SAT_MG = 30,
    ROW_MASKING_HUE_MG = 31,
    ROW_MASKING_SAT_B = 32,
    ROW_MASKING_HUE_B = 33,
    ROW_MASKING_SAT_YE = 34,
    ROW_MASKING_HUE_YE = 35,
    ROW_PAINT_BLACK_SWITCH = 36,
    ROW_PAINT_BLACK_RED = 37,
    ROW_PAINT_BLACK_GREEN = 38,
    ROW_PAINT_BLACK_BLUE = 39,
    ROW_KNEE_SWITCH = 40,
    ROW_KNEE_POINT = 41,
    ROW_KNEE_SLOPE = 42,
    ROW_LUT_SWITCH = 43,
    ROW_WHITE_SPOT_CORRECTION = 44,
    ROW_WHITE_SPOT_LEVEL = 45,
    ROW_WHITE_SPOT_DETECT = 46,
    ROW_WHITE_SHADING_SWITCH = 47,
    ROW_WHITE_SHADING_ADJUST = 48,  // writing 1 starts the adjustment
    ROW_SMEAR_SWITCH = 49,
    ROW_MEMORY_LOAD = 50,
    ROW_MEMORY_SAVE = 51,
    ROW_FACTORY_SETTING = 52,

    ROW_ADJUST_KEY = 54,
    ROW_ADJUST_FLAG = 55,
    ROW_GAIN_STEP = 56,
    ROW_SUB_VOLTAGE_R = 57,  // G and B follow
    ROW_SUB_VOLTAGE_G = 58,
    ROW_SUB_VOLTAGE_B = 59,
    ROW_ADJUST_GAIN_R = 60,  // G and B follow
    ROW_ADJUST_GAIN_G = 61,
    ROW_ADJUST_GAIN_B = 62,
    ROW_AUTO_ADJUST = 63,
    ROW_H_REGISTRATION_R = 64,  // G and B follow
    ROW_H_REGISTRATION_G = 65,
    ROW_H_REGISTRATION_B = 66,
    ROW_V_REGISTRATION_R = 67,  // G and B follow
    ROW_V_REGISTRATION_G = 68,
    ROW_V_REGISTRATION_B = 69,
    ROW_REGISTRATION_SWITCH = 70,
    ROW_WHITE_SPOT_R = 71,
    ROW_WHITE_SPOT_G = 72,
    ROW_WHITE_SPOT_B = 73,
    ROW_ADJUST_SAVE = 74,
    ROW_VENDOR_NAME = 75,    // NameRegisterRows rows, two characters each
    ROW_MODEL_NAME = 83,     // NameRegisterRows rows, two characters each
    ROW_SERIAL_NUMBER = 91,  // SerialNumberRows rows, two characters each
    ROW_CPU_VERSION = 95,    // two rows, two characters each
    ROW_FPGA_VERSION = 97,   // two rows, two characters each
    ROW_TEMPERATURE_FIRST = 99,
    ROW_TEMPERATURE = 100,  // tenths of a degree
};

inline constexpr int NameRegisterRows = 8;
inline constexpr int SerialNumberRows = 4;

// Written after the adjust-mode key by ALL INITIALIZE: 0xFFFF into register
// 0x01 of the adjustment area, which has no row of its own.
inline constexpr const char* InitializeCommandText = "3001FFFF00";

// The camera's register map: the one place where areas, addresses, defaults
// and ranges are written down. Built with every value at its default.
class CameraParamTable {
  public:
    CameraParamTable();

    CameraParam& operator[](int row) { return rows_[static_cast<size_t>(row)]; }
    const CameraParam& operator[](int row) const { return rows_[static_cast<size_t>(row)]; }
    static constexpr int size() { return CameraParamRows; }

    // The rows as built, for anyone who needs the defaults without a table.
    static const std::array<CameraParam, CameraParamRows>& defaults();

  private:
    std::array<CameraParam, CameraParamRows> rows_;
};

}  // namespace zr
