#pragma once

#include <array>
#include <cstddef>

#include "params/CameraParam.h"

namespace zr {

inline constexpr int UserParamCount = 53;  // rows 0..52: the user settings
inline constexpr int CameraParamRows = 102;

// Rows with a fixed meaning elsewhere in the program.
enum ParamRow : int {
    ROW_TRIGGER_MODE = 0,
    ROW_SHUTTER_SPEED = 4,
    ROW_ALC = 5,
    ROW_GAIN_LEVEL = 6,
    ROW_AUX_SWITCH = 8,  // a switch register the panel has no control for
    ROW_VARIABLE_SHUTTER = 9,
    ROW_WHITE_BALANCE = 19,
    ROW_LUT_SWITCH = 43,
    ROW_WHITE_SPOT_LEVEL = 45,
    ROW_WHITE_SPOT_DETECT = 46,
    ROW_MEMORY_LOAD = 50,
    ROW_MEMORY_SAVE = 51,
    ROW_FACTORY_SETTING = 52,
    ROW_ADJUST_KEY = 54,
};

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
