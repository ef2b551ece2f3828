#include "tools/LutTemplate.h"

#include "tools/CLookUpTable.h"

namespace {

using zr::widgets::ControlEntry;
using zr::widgets::ControlKind;
using zr::widgets::FitText;
using zr::widgets::MouseTransparent;
using zr::widgets::NoId;
using zr::widgets::WindowTable;

// In creation order: the group boxes come before the controls they frame so
// that they lie beneath them; like a dialog's group boxes they are frames, no
// target for the mouse. Radio and check boxes may grow so that indicator and
// caption are not cut off where the style needs more room.
// clang-format off
constexpr ControlEntry kLutControls[] = {
    {NoId, ControlKind::Frame, "STEP", 10, 201, 127, 24, MouseTransparent},
    {CLookUpTable::IDC_STEP_16, ControlKind::Radio, "16", 17, 211, 20, 10, FitText},
    {CLookUpTable::IDC_STEP_32, ControlKind::Radio, "32", 39, 211, 20, 10, FitText},
    {CLookUpTable::IDC_STEP_64, ControlKind::Radio, "64", 61, 211, 20, 10, FitText},
    {CLookUpTable::IDC_STEP_128, ControlKind::Radio, "128", 83, 211, 24, 10, FitText},
    {CLookUpTable::IDC_STEP_256, ControlKind::Radio, "256", 109, 211, 24, 10, FitText},
    {NoId, ControlKind::Frame, "COLOR", 10, 227, 78, 26, MouseTransparent},
    {CLookUpTable::IDC_SHOW_R, ControlKind::Check, "R", 18, 239, 16, 10, FitText},
    {CLookUpTable::IDC_SHOW_G, ControlKind::Check, "G", 42, 239, 16, 10, FitText},
    {CLookUpTable::IDC_SHOW_B, ControlKind::Check, "B", 66, 239, 16, 10, FitText},
    {NoId, ControlKind::Frame, "CSV DATA", 92, 227, 70, 26, MouseTransparent},
    {CLookUpTable::IDC_OPEN, ControlKind::DialogButton, "OPEN", 97, 236, 30, 14},
    {CLookUpTable::IDC_SAVE, ControlKind::DialogButton, "SAVE", 128, 236, 30, 14},
    {CLookUpTable::IDC_CLOSE, ControlKind::DialogButton, "CLOSE", 166, 236, 50, 14},
    {NoId, ControlKind::Frame, "PRESET", 140, 201, 78, 24, MouseTransparent},
    {CLookUpTable::IDC_GAMMA_045, ControlKind::DialogButton, "\xCE\xB3=0.45", 144, 209, 34, 14},
    {CLookUpTable::IDC_GAMMA_10, ControlKind::DialogButton, "\xCE\xB3=1.0", 179, 209, 34, 14},
    {CLookUpTable::IDC_READ, ControlKind::DialogButton, "READ", 134, 186, 41, 14},
    {CLookUpTable::IDC_WRITE, ControlKind::DialogButton, "WRITE", 176, 186, 41, 14},
};
// clang-format on

constexpr WindowTable kLutTemplate{kLutControls, 230, 260};

}  // namespace

const zr::widgets::WindowTable& lutTemplate() {
    return kLutTemplate;
}
