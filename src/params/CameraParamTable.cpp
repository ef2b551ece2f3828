#include "params/CameraParamTable.h"

namespace zr {

namespace {

// clang-format off
// read area, write area, address, default, min, max, value (= default), name
constexpr std::array<CameraParam, CameraParamRows> kRows = {{
    {0x81, 0x01, 0x04, 0, 0, 4, 0, "trigger_mode"},  // 0: trigger mode
    {0x81, 0x01, 0x05, 0, 0, 2, 0, "trigger_source"},  // 1: trigger source
    {0x81, 0x01, 0x06, 0, 0, 2, 0, "output_signal"},  // 2: output signal
    {0x81, 0x01, 0x55, 0, 0, 1, 0, "output_polarity"},  // 3: output polarity
    {0x81, 0x01, 0x08, 0, 0, 255, 0, "shutter_speed"},  // 4: shutter speed
    {0x81, 0x01, 0x0B, 0, 0, 3, 0, "alc_mode"},  // 5: automatic level control (ALC)
    {0x81, 0x01, 0x0C, 0, 0, 341, 0, "gain_level"},  // 6: gain level
    {0x81, 0x01, 0x0F, 0, 0, 1, 0, "trigger_polarity"},  // 7: trigger polarity
    {0x81, 0x01, 0x10, 0, 0, 1, 0, "aux_switch"},  // 8: auxiliary switch (no control on the panel)
    {0x81, 0x01, 0x11, 834, 0, 1536, 834, "variable_shutter"},  // 9: variable shutter value
    {0x81, 0x01, 0x14, 0, 0, 2, 0, "cl_data_bits"},  // 10: Camera Link data bits
    {0x81, 0x01, 0x15, 1, 0, 1, 1, "cl_vsync"},  // 11: Camera Link vertical sync signal
    {0x81, 0x01, 0x16, 1, 0, 1, 1, "cl_hsync"},  // 12: Camera Link horizontal sync signal
    {0x81, 0x01, 0x17, 128, 0, 255, 128, "brightness_level"},  // 13: brightness level
    {0x81, 0x01, 0x23, 0, 0, 1, 0, "gamma_switch"},  // 14: gamma switch
    {0x81, 0x01, 0x24, 128, 0, 255, 128, "gamma_level"},  // 15: gamma level
    {0x81, 0x01, 0x26, 128, 0, 255, 128, "alc_video_level"},  // 16: ALC video level
    {0x81, 0x01, 0x27, 0, 0, 1, 0, "sharpness_switch"},  // 17: sharpness switch
    {0x81, 0x01, 0x28, 128, 0, 255, 128, "sharpness_level"},  // 18: sharpness level
    {0x81, 0x01, 0x29, 2, 0, 3, 2, "white_balance_mode"},  // 19: white balance mode
    {0x81, 0x01, 0x2A, 128, 0, 255, 128, "white_balance_r_gain"},  // 20: white balance R-GAIN
    {0x81, 0x01, 0x2B, 128, 0, 255, 128, "white_balance_b_gain"},  // 21: white balance B-GAIN
    {0x81, 0x01, 0x2E, 128, 0, 255, 128, "white_balance_g_gain"},  // 22: white balance G-GAIN (control hidden)
    {0x81, 0x01, 0x31, 0, 0, 1, 0, "masking_switch"},  // 23: masking switch
    {0x81, 0x01, 0x32, 128, 0, 255, 128, "masking_saturation_r"},  // 24: masking saturation R
    {0x81, 0x01, 0x33, 128, 0, 255, 128, "masking_hue_r"},  // 25: masking hue R
    {0x81, 0x01, 0x34, 128, 0, 255, 128, "masking_saturation_cy"},  // 26: masking saturation Cy
    {0x81, 0x01, 0x35, 128, 0, 255, 128, "masking_hue_cy"},  // 27: masking hue Cy
    {0x81, 0x01, 0x36, 128, 0, 255, 128, "masking_saturation_g"},  // 28: masking saturation G
    {0x81, 0x01, 0x37, 128, 0, 255, 128, "masking_hue_g"},  // 29: masking hue G
    {0x81, 0x01, 0x38, 128, 0, 255, 128, "masking_saturation_mg"},  // 30: masking saturation Mg
    {0x81, 0x01, 0x39, 128, 0, 255, 128, "masking_hue_mg"},  // 31: masking hue Mg
    {0x81, 0x01, 0x3A, 128, 0, 255, 128, "masking_saturation_b"},  // 32: masking saturation B
    {0x81, 0x01, 0x3B, 128, 0, 255, 128, "masking_hue_b"},  // 33: masking hue B
    {0x81, 0x01, 0x3C, 128, 0, 255, 128, "masking_saturation_ye"},  // 34: masking saturation Ye
    {0x81, 0x01, 0x3D, 128, 0, 255, 128, "masking_hue_ye"},  // 35: masking hue Ye
    {0x81, 0x01, 0x3E, 0, 0, 1, 0, "paint_black_switch"},  // 36: paint black switch
    {0x81, 0x01, 0x3F, 0, 0, 255, 0, "paint_black_red"},  // 37: paint black RED
    {0x81, 0x01, 0x40, 0, 0, 255, 0, "paint_black_green"},  // 38: paint black GREEN
    {0x81, 0x01, 0x41, 0, 0, 255, 0, "paint_black_blue"},  // 39: paint black BLUE
    {0x81, 0x01, 0x42, 0, 0, 1, 0, "knee_switch"},  // 40: knee switch
    {0x81, 0x01, 0x43, 0, 0, 32, 0, "knee_point"},  // 41: knee point
    {0x81, 0x01, 0x44, 0, 0, 159, 0, "knee_slope"},  // 42: knee slope
    {0x81, 0x01, 0x25, 0, 0, 1, 0, "lut_switch"},  // 43: look-up table switch
    {0x81, 0x01, 0x4B, 1, 0, 1, 1, "white_spot_correction"},  // 44: white spot correction switch
    {0x81, 0x01, 0x4C, 96, 0, 255, 96, "white_spot_level"},  // 45: white spot detection threshold level
    {0x81, 0x01, 0x4D, 0, 0, 2, 0, "white_spot_detect"},  // 46: white spot detection command and status
    {0x81, 0x01, 0x52, 0, 0, 1, 0, "white_shading_switch"},  // 47: white shading switch
    {0x81, 0x01, 0x53, 0, 0, 3, 0, "white_shading_adjust"},  // 48: white shading adjustment command
    {0x81, 0x01, 0x56, 0, 0, 1, 0, "smear_correction"},  // 49: smear correction switch (controls hidden)
    {0x81, 0x01, 0x02, 0, 0, 4, 0, "memory_load"},  // 50: setting memory load; read back as the current memory
    {0x81, 0x01, 0x03, 1, 1, 4, 1, "memory_save"},  // 51: setting memory save
    {0x81, 0x01, 0x45, 1, 1, 1, 1, "factory_setting"},  // 52: factory setting command
    {0x00, 0x00, 0x00, 0, 0, 0, 0, ""},  // 53: empty row
    {0xB0, 0x30, 0x00, 0, 0, 65535, 0, "adjust_key"},  // 54: adjust-mode key
    {0xB0, 0x30, 0x63, 0, 0, 1, 0, "adjust_mode"},  // 55: adjust-mode flag
    {0x82, 0x02, 0x0D, 0, 0, 1, 0, "gain_step"},  // 56: gain-step flag
    {0xB0, 0x30, 0x77, 150, 100, 255, 150, "sub_voltage_r"},  // 57: sub voltage R
    {0xB0, 0x30, 0x78, 150, 100, 255, 150, "sub_voltage_g"},  // 58: sub voltage G
    {0xB0, 0x30, 0x79, 150, 100, 255, 150, "sub_voltage_b"},  // 59: sub voltage B
    {0xB0, 0x30, 0x1B, 0, 0, 256, 0, "adjust_gain_r"},  // 60: adjustment gain R
    {0xB0, 0x30, 0x1C, 0, 0, 256, 0, "adjust_gain_g"},  // 61: adjustment gain G
    {0xB0, 0x30, 0x1D, 0, 0, 256, 0, "adjust_gain_b"},  // 62: adjustment gain B
    {0xB0, 0x30, 0x1A, 1, 1, 2, 1, "auto_gain_adjust"},  // 63: automatic gain adjustment command and status
    {0xB0, 0x30, 0x14, 0, 0, 17, 0, "h_registration_r"},  // 64: horizontal registration R
    {0xB0, 0x30, 0x15, 0, 0, 17, 0, "h_registration_g"},  // 65: horizontal registration G
    {0xB0, 0x30, 0x16, 0, 0, 17, 0, "h_registration_b"},  // 66: horizontal registration B
    {0xB0, 0x30, 0x11, 0, 0, 17, 0, "v_registration_r"},  // 67: vertical registration R
    {0xB0, 0x30, 0x12, 0, 0, 17, 0, "v_registration_g"},  // 68: vertical registration G
    {0xB0, 0x30, 0x13, 0, 0, 17, 0, "v_registration_b"},  // 69: vertical registration B
    {0xB0, 0x30, 0x10, 0, 0, 1, 0, "registration_switch"},  // 70: registration switch
    {0xB0, 0x30, 0x4D, 0, 0, 255, 0, "white_spot_r"},  // 71: white spot R
    {0xB0, 0x30, 0x4E, 0, 0, 255, 0, "white_spot_g"},  // 72: white spot G
    {0xB0, 0x30, 0x4F, 0, 0, 255, 0, "white_spot_b"},  // 73: white spot B
    {0xB0, 0x30, 0x03, 4, 4, 65535, 4, "adjust_save"},  // 74: adjustment save command
    {0x90, 0x10, 0x00, 0, 0, 65535, 0, "vendor_name_1"},  // 75: vendor name, characters 1-2
    {0x90, 0x10, 0x01, 0, 0, 65535, 0, "vendor_name_2"},  // 76: vendor name, characters 3-4
    {0x90, 0x10, 0x02, 0, 0, 65535, 0, "vendor_name_3"},  // 77: vendor name, characters 5-6
    {0x90, 0x10, 0x03, 0, 0, 65535, 0, "vendor_name_4"},  // 78: vendor name, characters 7-8
    {0x90, 0x10, 0x04, 0, 0, 65535, 0, "vendor_name_5"},  // 79: vendor name, characters 9-10
    {0x90, 0x10, 0x05, 0, 0, 65535, 0, "vendor_name_6"},  // 80: vendor name, characters 11-12
    {0x90, 0x10, 0x06, 0, 0, 65535, 0, "vendor_name_7"},  // 81: vendor name, characters 13-14
    {0x90, 0x10, 0x07, 0, 0, 65535, 0, "vendor_name_8"},  // 82: vendor name, characters 15-16
    {0x90, 0x10, 0x08, 0, 0, 65535, 0, "model_name_1"},  // 83: model name, characters 1-2
    {0x90, 0x10, 0x09, 0, 0, 65535, 0, "model_name_2"},  // 84: model name, characters 3-4
    {0x90, 0x10, 0x0A, 0, 0, 65535, 0, "model_name_3"},  // 85: model name, characters 5-6
    {0x90, 0x10, 0x0B, 0, 0, 65535, 0, "model_name_4"},  // 86: model name, characters 7-8
    {0x90, 0x10, 0x0C, 0, 0, 65535, 0, "model_name_5"},  // 87: model name, characters 9-10
    {0x90, 0x10, 0x0D, 0, 0, 65535, 0, "model_name_6"},  // 88: model name, characters 11-12
    {0x90, 0x10, 0x0E, 0, 0, 65535, 0, "model_name_7"},  // 89: model name, characters 13-14
    {0x90, 0x10, 0x0F, 0, 0, 65535, 0, "model_name_8"},  // 90: model name, characters 15-16
    {0x90, 0x10, 0x10, 0, 0, 65535, 0, "serial_number_1"},  // 91: serial number, characters 1-2
    {0x90, 0x10, 0x11, 0, 0, 65535, 0, "serial_number_2"},  // 92: serial number, characters 3-4
    {0x90, 0x10, 0x12, 0, 0, 65535, 0, "serial_number_3"},  // 93: serial number, characters 5-6
    {0x90, 0x10, 0x13, 0, 0, 65535, 0, "serial_number_4"},  // 94: serial number, characters 7-8
    {0x90, 0x10, 0x14, 0, 0, 65535, 0, "cpu_version_1"},  // 95: CPU version, first two characters
    {0x90, 0x10, 0x15, 0, 0, 65535, 0, "cpu_version_2"},  // 96: CPU version, last two characters
    {0x90, 0x10, 0x16, 0, 0, 65535, 0, "fpga_version_1"},  // 97: FPGA version, first two characters
    {0x90, 0x10, 0x17, 0, 0, 65535, 0, "fpga_version_2"},  // 98: FPGA version, last two characters
    {0xB0, 0x30, 0x7F, 0, 0, 65535, 0, "temperature_raw"},  // 99: temperature (first register)
    {0xB0, 0x30, 0x7E, 0, 0, 65535, 0, "temperature"},  // 100: temperature in tenths of a degree
    {0x00, 0x00, 0x00, 0, 0, 0, 0, ""},  // 101: empty row
}};
// clang-format on

}  // namespace

CameraParamTable::CameraParamTable() : rows_(kRows) {}

const std::array<CameraParam, CameraParamRows>& CameraParamTable::defaults() {
    return kRows;
}

}  // namespace zr
