#include "panel/PanelBindings.h"

#include <algorithm>

#include "panel/PanelControlIds.h"

namespace zr::panel {

namespace {

// clang-format off
constexpr std::array<RadioBinding, kRadioCount> kRadios = {{
    {IDC_TRIG_OFF, 0, 0}, {IDC_TRIG_FIXED, 0, 1}, {IDC_TRIG_1TRIG, 0, 2}, {IDC_TRIG_VD_CONT, 0, 4},
    {IDC_TRIG_POSI, 7, 0}, {IDC_TRIG_NEGA, 7, 1},
    {IDC_TRIG_CC1, 1, 0}, {IDC_TRIG_7PIN, 1, 1}, {IDC_TRIG_9PIN, 1, 2},
    {IDC_SHUTTER_OFF, 4, 0}, {IDC_SHUTTER_30, 4, 1}, {IDC_SHUTTER_60, 4, 2},
    {IDC_SHUTTER_100, 4, 3}, {IDC_SHUTTER_250, 4, 4}, {IDC_SHUTTER_1000, 4, 5},
    {IDC_SHUTTER_2000, 4, 6}, {IDC_SHUTTER_10000, 4, 7}, {IDC_SHUTTER_50000, 4, 8},
    {IDC_SHUTTER_VARIABLE, 4, 255},
    {IDC_GAMMA_OFF, 14, 0}, {IDC_GAMMA_ON, 14, 1},
    {IDC_KNEE_OFF, 40, 0}, {IDC_KNEE_ON, 40, 1},
    {IDC_LUT_OFF, 43, 0}, {IDC_LUT_ON, 43, 1},
    {IDC_SHARP_OFF, 17, 0}, {IDC_SHARP_ON, 17, 1},
    {IDC_ALC_OFF, 5, 0}, {IDC_ALC_AGC, 5, 1}, {IDC_ALC_AES, 5, 2}, {IDC_ALC_AGC_AES, 5, 3},
    {IDC_WB_ATW, 19, 0}, {IDC_WB_MANUAL, 19, 2},
    {IDC_PB_OFF, 36, 0}, {IDC_PB_ON, 36, 1},
    {IDC_MASK_OFF, 23, 0}, {IDC_MASK_ON, 23, 1},
    {IDC_WSHADING_OFF, 47, 0}, {IDC_WSHADING_ON, 47, 1},
    {IDC_CL_VD, 11, 0}, {IDC_CL_FVAL, 11, 1},
    {IDC_CL_HD, 12, 0}, {IDC_CL_LVAL, 12, 1},
    {IDC_CL_24BIT, 10, 0}, {IDC_CL_30BIT, 10, 1}, {IDC_CL_36BIT, 10, 2},
    {IDC_OUT_OFF, 2, 0}, {IDC_OUT_FLASH, 2, 1}, {IDC_OUT_VD, 2, 2},
    {IDC_OUT_POSI, 3, 0}, {IDC_OUT_NEGA, 3, 1},
    {IDC_WSPOT_OFF, 44, 0}, {IDC_WSPOT_ON, 44, 1},
    {IDC_SMEAR_OFF, 49, 0}, {IDC_SMEAR_ON, 49, 1},
}};

constexpr std::array<ScrollBinding, kScrollCount> kScrolls = {{
    {IDC_VSHUTTER_SCROLL, 9, IDC_VSHUTTER_VALUE},
    {IDC_GAIN_SCROLL, 6, IDC_GAIN_VALUE},
    {IDC_BRIGHT_SCROLL, 13, IDC_BRIGHT_VALUE},
    {IDC_GAMMA_SCROLL, 15, IDC_GAMMA_VALUE},
    {IDC_KNEE_POINT_SCROLL, 41, IDC_KNEE_POINT_VALUE},
    {IDC_KNEE_SLOPE_SCROLL, 42, IDC_KNEE_SLOPE_VALUE},
    {IDC_SHARP_SCROLL, 18, IDC_SHARP_VALUE},
    {IDC_VIDEO_SCROLL, 16, IDC_VIDEO_VALUE},
    {IDC_WB_RGAIN_SCROLL, 20, IDC_WB_RGAIN_VALUE},
    {IDC_WB_GGAIN_SCROLL, 22, IDC_WB_GGAIN_VALUE},
    {IDC_WB_BGAIN_SCROLL, 21, IDC_WB_BGAIN_VALUE},
    {IDC_PB_RED_SCROLL, 37, IDC_PB_RED_VALUE},
    {IDC_PB_GREEN_SCROLL, 38, IDC_PB_GREEN_VALUE},
    {IDC_PB_BLUE_SCROLL, 39, IDC_PB_BLUE_VALUE},
    {IDC_SAT_R_SCROLL, 24, IDC_SAT_R_VALUE},
    {IDC_HUE_R_SCROLL, 25, IDC_HUE_R_VALUE},
    {IDC_SAT_CY_SCROLL, 26, IDC_SAT_CY_VALUE},
    {IDC_HUE_CY_SCROLL, 27, IDC_HUE_CY_VALUE},
    {IDC_SAT_G_SCROLL, 28, IDC_SAT_G_VALUE},
    {IDC_HUE_G_SCROLL, 29, IDC_HUE_G_VALUE},
    {IDC_SAT_MG_SCROLL, 30, IDC_SAT_MG_VALUE},
    {IDC_HUE_MG_SCROLL, 31, IDC_HUE_MG_VALUE},
    {IDC_SAT_B_SCROLL, 32, IDC_SAT_B_VALUE},
    {IDC_HUE_B_SCROLL, 33, IDC_HUE_B_VALUE},
    {IDC_SAT_YE_SCROLL, 34, IDC_SAT_YE_VALUE},
    {IDC_HUE_YE_SCROLL, 35, IDC_HUE_YE_VALUE},
}};

constexpr std::array<int, 20> kRadioRefreshRows = {
    0, 7, 1, 10, 11, 12, 4, 40, 5, 43, 19, 14, 17, 23, 36, 47, 44, 49, 2, 3};

constexpr std::array<int, kScrollCount> kScrollRangeOrder = {
    IDC_WB_RGAIN_SCROLL, IDC_WB_BGAIN_SCROLL, IDC_WB_GGAIN_SCROLL, IDC_GAIN_SCROLL,
    IDC_BRIGHT_SCROLL, IDC_VSHUTTER_SCROLL, IDC_KNEE_POINT_SCROLL, IDC_KNEE_SLOPE_SCROLL,
    IDC_SAT_R_SCROLL, IDC_SAT_CY_SCROLL, IDC_SAT_G_SCROLL, IDC_SAT_MG_SCROLL,
    IDC_SAT_B_SCROLL, IDC_SAT_YE_SCROLL, IDC_HUE_R_SCROLL, IDC_HUE_CY_SCROLL,
    IDC_HUE_G_SCROLL, IDC_HUE_MG_SCROLL, IDC_HUE_B_SCROLL, IDC_HUE_YE_SCROLL,
    IDC_PB_RED_SCROLL, IDC_PB_GREEN_SCROLL, IDC_PB_BLUE_SCROLL, IDC_SHARP_SCROLL,
    IDC_VIDEO_SCROLL, IDC_GAMMA_SCROLL};

constexpr std::array<int, kScrollCount> kScrollRefreshOrder = {
    IDC_GAIN_SCROLL, IDC_BRIGHT_SCROLL, IDC_VSHUTTER_SCROLL, IDC_KNEE_POINT_SCROLL,
    IDC_KNEE_SLOPE_SCROLL, IDC_SAT_R_SCROLL, IDC_SAT_CY_SCROLL, IDC_SAT_G_SCROLL,
    IDC_SAT_MG_SCROLL, IDC_SAT_B_SCROLL, IDC_SAT_YE_SCROLL, IDC_HUE_R_SCROLL,
    IDC_HUE_CY_SCROLL, IDC_HUE_G_SCROLL, IDC_HUE_MG_SCROLL, IDC_HUE_B_SCROLL,
    IDC_HUE_YE_SCROLL, IDC_WB_RGAIN_SCROLL, IDC_WB_BGAIN_SCROLL, IDC_WB_GGAIN_SCROLL,
    IDC_PB_RED_SCROLL, IDC_PB_GREEN_SCROLL, IDC_PB_BLUE_SCROLL, IDC_SHARP_SCROLL,
    IDC_VIDEO_SCROLL, IDC_GAMMA_SCROLL};
// clang-format on

}  // namespace

std::span<const RadioBinding> radioBindings() {
    return kRadios;
}
std::span<const ScrollBinding> scrollBindings() {
    return kScrolls;
}

const RadioBinding* findRadio(int id) {
    auto it =
        std::find_if(kRadios.begin(), kRadios.end(), [id](const auto& b) { return b.id == id; });
    return it == kRadios.end() ? nullptr : &*it;
}

const ScrollBinding* findScroll(int id) {
    auto it =
        std::find_if(kScrolls.begin(), kScrolls.end(), [id](const auto& b) { return b.id == id; });
    return it == kScrolls.end() ? nullptr : &*it;
}

std::span<const int> radioRefreshRows() {
    return kRadioRefreshRows;
}
std::span<const int> scrollRangeOrder() {
    return kScrollRangeOrder;
}
std::span<const int> scrollRefreshOrder() {
    return kScrollRefreshOrder;
}

}  // namespace zr::panel
