#include "setup/SelectTemplate.h"

namespace zr {

namespace {

using widgets::Beneath;
using widgets::ControlEntry;
using widgets::ControlKind;
using widgets::Disabled;
using widgets::Hidden;
using widgets::NoOption;

// In tab order. Group boxes come last and are put beneath the rest, so they
// never take the buttons' clicks.
// clang-format off
constexpr ControlEntry kSelectControls[] = {
    {1119, ControlKind::PushRadio, "COM 1", 11, 12, 28, 14},
    {1120, ControlKind::PushRadio, "COM 2", 41, 12, 28, 14},
    {1121, ControlKind::PushRadio, "COM 3", 71, 12, 28, 14},
    {1122, ControlKind::PushRadio, "COM 4", 101, 12, 28, 14},
    {1123, ControlKind::PushRadio, "COM 5", 131, 12, 28, 14},
    {1124, ControlKind::PushRadio, "COM 6", 11, 28, 28, 14},
    {1125, ControlKind::PushRadio, "COM 7", 41, 28, 28, 14},
    {1126, ControlKind::PushRadio, "COM 8", 71, 28, 28, 14},
    {1127, ControlKind::PushRadio, "COM 9", 101, 28, 28, 14},
    {1128, ControlKind::PushRadio, "COM 10", 131, 28, 28, 14},
    {1129, ControlKind::PushRadio, "COM 11-", 131, 28, 28, 14, Hidden},
    {1106, ControlKind::PushRadio, "Euresys", 181, 19, 40, 12},
    {1107, ControlKind::PushRadio, "Matrox", 224, 19, 40, 12},
    {1108, ControlKind::PushRadio, "Other Factory", 267, 19, 52, 12},
    {1110, ControlKind::PushRadio, "CL ALL", 181, 55, 34, 12},
    {1132, ControlKind::Radio, " 9600", 15, 58, 30, 10},
    {1133, ControlKind::Radio, "19200", 47, 58, 34, 10, Disabled},
    {1134, ControlKind::Radio, "38400", 83, 58, 34, 10, Disabled},
    {1135, ControlKind::Radio, "115200", 119, 58, 41, 10},
    {1270, ControlKind::DropList, "", 111, 28, 48, 12, Hidden},
    {1022, ControlKind::Radio, "OPEN", 15, 93, 40, 10},
    {1023, ControlKind::Radio, "CLOSE", 70, 93, 40, 10},
    {1, ControlKind::DefaultButton, "OK", 232, 89, 50, 14},
    {1112, ControlKind::Button, "CANCEL", 290, 89, 50, 14},
    {1109, ControlKind::Edit, "", 181, 33, 110, 11, Disabled},
    {2110, ControlKind::Button, "Browse", 309, 32, 27, 13, Disabled},
    {1268, ControlKind::DropList, "", 219, 55, 117, 12, Disabled},
    {1113, ControlKind::PlainLabel, ".dll", 293, 35, 14, 8, Disabled},
    {1131, ControlKind::Frame, "Select Board Maker", 175, 10, 165, 37, Beneath},
    {1118, ControlKind::Frame, "RS-232C Setting", 5, 2, 160, 78, Beneath},
    {1130, ControlKind::Frame, "Baud Rate", 10, 46, 152, 28, Beneath},
    {1117, ControlKind::Frame, "Open Port", 5, 82, 160, 25, Beneath},
    {widgets::NoId, ControlKind::Frame, "CameraLink Board", 170, 2, 175, 78, Beneath},
    {1140, ControlKind::Frame, "CameraLink V1.1", 175, 47, 165, 31, Beneath},
    {1269, ControlKind::PlainLabel, "Manufacture:", 219, 68, 117, 8, NoOption},
};
// clang-format on

constexpr widgets::WindowTable kSelectTemplate{kSelectControls, 350, 110};

}  // namespace

const widgets::WindowTable& selectTemplate() {
    return kSelectTemplate;
}

}  // namespace zr
