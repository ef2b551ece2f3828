#pragma once

// Control identifiers of the adjustment window (template 133). Behaviour is
// keyed on these numbers (the enabling rules work on id ranges), so they stay
// exactly as the template numbers them.
namespace adjust_id {

enum : int {
    CLOSE = 2,
    STEP_VSUB = 1039,  // radio group: 1039, 1040, 1041
    STEP_GAIN = 1040,
    STEP_REGISTRATION = 1041,
    REGISTRATION_ON = 1042,  // radio group: 1042, 1058
    VSUB_SLIDER_R = 1043,    // 1043..1045
    VSUB_EDIT_R = 1046,      // 1046..1048
    GAIN_EDIT_R = 1049,      // 1049..1051
    HREG_EDIT_R = 1052,      // 1052..1054
    VREG_EDIT_R = 1055,      // 1055..1057
    REGISTRATION_OFF = 1058,
    ADJUST_MODE_ON = 1059,  // push-like radio group: 1059, 1060
    ADJUST_MODE_OFF = 1060,
    READ = 1061,
    SAVE = 1062,
    SERIAL_EDIT = 1063,
    AUTO_ADJUST = 1064,
    FACTORY_INITIALIZE = 1065,
    VENDOR = 1066,
    MODEL = 1067,
    CPU_VERSION = 1068,
    FPGA_VERSION = 1069,
    SERIAL_NUMBER = 1070,
    SET_SERIAL = 1071,
    GAIN_SLIDER_R = 1072,  // 1072..1074
    HREG_SLIDER_R = 1075,  // 1075..1077
    VREG_SLIDER_R = 1078,  // 1078..1080
    VSUB_LABEL_R = 1081,   // 1081..1083
    GAIN_LABEL_R = 1084,   // 1084..1086
    HREG_LABEL_R = 1087,   // 1087..1089
    VREG_LABEL_R = 1090,   // 1090..1092
    STEP1_FRAME = 1093,
    STEP2_FRAME = 1094,
    STEP3_FRAME = 1095,
    SAVE_LOG = 1096,
    AUTO_ADJUST_PROGRESS = 1097,
    TEMPERATURE = 1098,
    CONTINUOUS = 1099,
    TEMPERATURE_MIN = 1100,
    TEMPERATURE_MAX = 1101,
};

}  // namespace adjust_id
