#include "params/ParamNames.h"

#include <array>
#include <charconv>

#include "params/CameraParamTable.h"

namespace zr {

namespace {

constexpr std::array<std::string_view, CameraParamRows> kNames = {
    "trigger_mode",
    "trigger_source",
    "output_signal",
    "output_polarity",
    "shutter_speed",
    "alc_mode",
    "gain_level",
    "trigger_polarity",
    "aux_switch",
    "variable_shutter",
    "cl_data_bits",
    "cl_vsync",
    "cl_hsync",
    "brightness_level",
    "gamma_switch",
    "gamma_level",
    "alc_video_level",
    "sharpness_switch",
    "sharpness_level",
    "white_balance_mode",
    "white_balance_r_gain",
    "white_balance_b_gain",
    "white_balance_g_gain",
    "masking_switch",
    "masking_saturation_r",
    "masking_hue_r",
    "masking_saturation_cy",
    "masking_hue_cy",
    "masking_saturation_g",
    "masking_hue_g",
    "masking_saturation_mg",
    "masking_hue_mg",
    "masking_saturation_b",
    "masking_hue_b",
    "masking_saturation_ye",
    "masking_hue_ye",
    "paint_black_switch",
    "paint_black_red",
    "paint_black_green",
    "paint_black_blue",
    "knee_switch",
    "knee_point",
    "knee_slope",
    "lut_switch",
    "white_spot_correction",
    "white_spot_level",
    "white_spot_detect",
    "white_shading_switch",
    "white_shading_adjust",
    "smear_correction",
    "memory_load",
    "memory_save",
    "factory_setting",
    "",
    "adjust_key",
    "adjust_mode",
    "gain_step",
    "sub_voltage_r",
    "sub_voltage_g",
    "sub_voltage_b",
    "adjust_gain_r",
    "adjust_gain_g",
    "adjust_gain_b",
    "auto_gain_adjust",
    "h_registration_r",
    "h_registration_g",
    "h_registration_b",
    "v_registration_r",
    "v_registration_g",
    "v_registration_b",
    "registration_switch",
    "white_spot_r",
    "white_spot_g",
    "white_spot_b",
    "adjust_save",
    "vendor_name_1",
    "vendor_name_2",
    "vendor_name_3",
    "vendor_name_4",
    "vendor_name_5",
    "vendor_name_6",
    "vendor_name_7",
    "vendor_name_8",
    "model_name_1",
    "model_name_2",
    "model_name_3",
    "model_name_4",
    "model_name_5",
    "model_name_6",
    "model_name_7",
    "model_name_8",
    "serial_number_1",
    "serial_number_2",
    "serial_number_3",
    "serial_number_4",
    "cpu_version_1",
    "cpu_version_2",
    "fpga_version_1",
    "fpga_version_2",
    "temperature_raw",
    "temperature",
    "",
};

}  // namespace

std::string_view ParamNames::name(int row) {
    if (row < 0 || row >= CameraParamRows) return {};
    return kNames[static_cast<size_t>(row)];
}

std::optional<int> ParamNames::find(std::string_view nameOrRow) {
    if (nameOrRow.empty()) return std::nullopt;
    int row = -1;
    auto [end, ec] = std::from_chars(nameOrRow.data(), nameOrRow.data() + nameOrRow.size(), row);
    if (ec == std::errc() && end == nameOrRow.data() + nameOrRow.size()) {
        if (row >= 0 && row < CameraParamRows && !kNames[static_cast<size_t>(row)].empty())
            return row;
        return std::nullopt;
    }
    for (int r = 0; r < CameraParamRows; ++r)
        if (kNames[static_cast<size_t>(r)] == nameOrRow) return r;
    return std::nullopt;
}

}  // namespace zr
