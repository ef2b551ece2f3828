#include "adjust/AdjustTemplate.h"

#include <array>

#include "adjust/AdjustControlIds.h"
#include "widgets/DialogUnits.h"
#include "widgets/WindowBuilder.h"

namespace adjust_template {
namespace {

using namespace adjust_id;
using Kind = zr::widgets::ControlKind;
using zr::widgets::Hidden;

// Rows of three controls (R, G, B) share their geometry except for y.
constexpr int kRowPitch = 17;

// clang-format off
constexpr std::array kControls = {
    // Step 1: sensor sub voltage.
    Control{STEP_VSUB, Kind::Radio, "1. V SUB", 7, 7, 150, 10},
    Control{STEP1_FRAME, Kind::Frame, "", 7, 18, 180, 58},
    Control{VSUB_LABEL_R + 0, Kind::Label, "R", 14, 28, 10, 8},
    Control{VSUB_LABEL_R + 1, Kind::Label, "G", 14, 28 + kRowPitch, 10, 8},
    Control{VSUB_LABEL_R + 2, Kind::Label, "B", 14, 28 + 2 * kRowPitch, 10, 8},
    Control{VSUB_SLIDER_R + 0, Kind::HTrackBar, "", 26, 24, 116, 15},
    Control{VSUB_SLIDER_R + 1, Kind::HTrackBar, "", 26, 24 + kRowPitch, 116, 15},
    Control{VSUB_SLIDER_R + 2, Kind::HTrackBar, "", 26, 24 + 2 * kRowPitch, 116, 15},
    Control{VSUB_EDIT_R + 0, Kind::ValueEdit, "", 148, 25, 32, 12},
    Control{VSUB_EDIT_R + 1, Kind::ValueEdit, "", 148, 25 + kRowPitch, 32, 12},
    Control{VSUB_EDIT_R + 2, Kind::ValueEdit, "", 148, 25 + 2 * kRowPitch, 32, 12},

    // Step 2: sensor gain, with the camera's own automatic adjustment.
    Control{STEP_GAIN, Kind::Radio, "2. ADJUST GAIN (3200K, F8, 2000lx)", 7, 82, 170, 10},
    Control{STEP2_FRAME, Kind::Frame, "", 7, 93, 180, 78},
    Control{AUTO_ADJUST, Kind::Button, "AUTO ADJUST", 14, 101, 64, 14},
    Control{AUTO_ADJUST_PROGRESS, Kind::Label, "", 86, 104, 94, 8},
    Control{GAIN_LABEL_R + 0, Kind::Label, "R", 14, 123, 10, 8},
    Control{GAIN_LABEL_R + 1, Kind::Label, "G", 14, 123 + kRowPitch, 10, 8},
    Control{GAIN_LABEL_R + 2, Kind::Label, "B", 14, 123 + 2 * kRowPitch, 10, 8},
    Control{GAIN_SLIDER_R + 0, Kind::HTrackBar, "", 26, 119, 116, 15},
    Control{GAIN_SLIDER_R + 1, Kind::HTrackBar, "", 26, 119 + kRowPitch, 116, 15},
    Control{GAIN_SLIDER_R + 2, Kind::HTrackBar, "", 26, 119 + 2 * kRowPitch, 116, 15},
    Control{GAIN_EDIT_R + 0, Kind::ValueEdit, "", 148, 120, 32, 12},
    Control{GAIN_EDIT_R + 1, Kind::ValueEdit, "", 148, 120 + kRowPitch, 32, 12},
    Control{GAIN_EDIT_R + 2, Kind::ValueEdit, "", 148, 120 + 2 * kRowPitch, 32, 12},

    // Step 3: horizontal and vertical registration of the three sensors.
    Control{STEP_REGISTRATION, Kind::Radio, "3. REGISTRATION", 7, 177, 150, 10},
    Control{STEP3_FRAME, Kind::Frame, "", 7, 188, 180, 209},
    Control{HREG_LABEL_R + 0, Kind::Label, "R_H", 12, 199, 16, 8},
    Control{HREG_LABEL_R + 1, Kind::Label, "G_H", 12, 199 + kRowPitch, 16, 8},
    Control{HREG_LABEL_R + 2, Kind::Label, "B_H", 12, 199 + 2 * kRowPitch, 16, 8},
    Control{HREG_SLIDER_R + 0, Kind::HTrackBar, "", 30, 195, 112, 15},
    Control{HREG_SLIDER_R + 1, Kind::HTrackBar, "", 30, 195 + kRowPitch, 112, 15},
    Control{HREG_SLIDER_R + 2, Kind::HTrackBar, "", 30, 195 + 2 * kRowPitch, 112, 15},
    Control{HREG_EDIT_R + 0, Kind::ValueEdit, "", 148, 196, 32, 12},
    Control{HREG_EDIT_R + 1, Kind::ValueEdit, "", 148, 196 + kRowPitch, 32, 12},
    Control{HREG_EDIT_R + 2, Kind::ValueEdit, "", 148, 196 + 2 * kRowPitch, 32, 12},
    Control{VREG_LABEL_R + 0, Kind::CentredLabel, "R_V", 35, 250, 30, 8},
    Control{VREG_LABEL_R + 1, Kind::CentredLabel, "G_V", 82, 250, 30, 8},
    Control{VREG_LABEL_R + 2, Kind::CentredLabel, "B_V", 129, 250, 30, 8},
    Control{VREG_SLIDER_R + 0, Kind::VTrackBar, "", 38, 260, 24, 100},
    Control{VREG_SLIDER_R + 1, Kind::VTrackBar, "", 85, 260, 24, 100},
    Control{VREG_SLIDER_R + 2, Kind::VTrackBar, "", 132, 260, 24, 100},
    Control{VREG_EDIT_R + 0, Kind::ValueEdit, "", 34, 363, 32, 12},
    Control{VREG_EDIT_R + 1, Kind::ValueEdit, "", 81, 363, 32, 12},
    Control{VREG_EDIT_R + 2, Kind::ValueEdit, "", 128, 363, 32, 12},
    Control{REGISTRATION_ON, Kind::Radio, "ON", 60, 381, 30, 10},
    Control{REGISTRATION_OFF, Kind::Radio, "OFF", 104, 381, 30, 10},

    // Adjust mode, read back and store.
    Control{NoId, Kind::Frame, "ADJUST MODE", 193, 7, 120, 34},
    Control{ADJUST_MODE_ON, Kind::PushRadio, "ON", 200, 19, 50, 16},
    Control{ADJUST_MODE_OFF, Kind::PushRadio, "OFF", 256, 19, 50, 16},
    Control{READ, Kind::Button, "READ", 193, 47, 57, 16},
    Control{SAVE, Kind::Button, "SAVE", 256, 47, 57, 16},

    // Identity, temperature and serial number.
    Control{NoId, Kind::Frame, "CAMERA INFORMATION", 193, 70, 120, 112},
    Control{NoId, Kind::Label, "VENDOR :", 198, 82, 50, 8},
    Control{VENDOR, Kind::Label, "****************", 248, 82, 63, 8},
    Control{NoId, Kind::Label, "MODEL   :", 198, 94, 50, 8},
    Control{MODEL, Kind::Label, "****************", 248, 94, 63, 8},
    Control{NoId, Kind::Label, "CPU Ver.  :", 198, 106, 50, 8},
    Control{CPU_VERSION, Kind::Label, "******", 248, 106, 63, 8},
    Control{NoId, Kind::Label, "FPGA Ver. :", 198, 118, 50, 8},
    Control{FPGA_VERSION, Kind::Label, "******", 248, 118, 63, 8},
    Control{NoId, Kind::Label, "Temparature :", 198, 130, 50, 8},
    Control{TEMPERATURE, Kind::CentredLabel, "00.0", 248, 130, 24, 8},
    Control{NoId, Kind::Label, "Current No. :", 198, 142, 50, 8},
    Control{SERIAL_NUMBER, Kind::Label, "********", 248, 142, 63, 8},
    Control{SERIAL_EDIT, Kind::UpperCaseEdit, "", 198, 160, 62, 13},
    Control{SET_SERIAL, Kind::Button, "SET", 264, 159, 46, 15},

    Control{SAVE_LOG, Kind::Button, "SAVE  Data to ZR-K880.csv file", 193, 190, 120, 16},

    // Periodic temperature read-out: part of the template, never shown.
    Control{CONTINUOUS, Kind::Check, "CONTINUOUS", 193, 214, 60, 10, Hidden},
    Control{NoId, Kind::Frame, "TEMPARATURE", 193, 226, 120, 46, Hidden},
    Control{NoId, Kind::Label, "CURRENT :", 198, 238, 40, 8, Hidden},
    Control{NoId, Kind::Label, "MINIMUM :", 198, 248, 40, 8, Hidden},
    Control{NoId, Kind::Label, "MAXIMUM :", 198, 258, 40, 8, Hidden},
    Control{TEMPERATURE_MIN, Kind::Label, " 0.00", 244, 248, 40, 8, Hidden},
    Control{TEMPERATURE_MAX, Kind::Label, " 0.00", 244, 258, 40, 8, Hidden},

    Control{FACTORY_INITIALIZE, Kind::Button, "FACTORY INITIALIZE", 193, 330, 120, 20},
    Control{CLOSE, Kind::Button, "CLOSE", 253, 381, 60, 16},
};
// clang-format on

}  // namespace

std::span<const Control> controls() {
    return kControls;
}

QFont dialogFont() {
    QFont font = zr::widgets::templateFont();
    font.setFamilies({QStringLiteral("MS Shell Dlg 2"), QStringLiteral("Tahoma"), font.family()});
    return font;
}

void build(QWidget* dialog) {
    dialog->setFont(dialogFont());
    const zr::widgets::DialogUnits units(dialog->font());
    zr::widgets::WindowBuilder(dialog, units).build({kControls, WidthDlu, HeightDlu});
}

}  // namespace adjust_template
