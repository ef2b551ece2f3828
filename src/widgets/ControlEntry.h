#pragma once

#include <span>

namespace zr::widgets {

// What a window template's control is; each kind is one widget class set up
// the way the original dialog control looked and behaved.
enum class ControlKind {
    Frame,          // group box, caption optional
    Label,          // static text, left aligned, from the top
    CentredLabel,   // static text, centred, from the top
    PlainLabel,     // static text with the toolkit's own alignment
    Radio,          // radio button
    PushRadio,      // radio button that looks like a push button
    Check,          // check box
    Button,         // push button that Enter never presses
    DefaultButton,  // push button that Enter presses
    DialogButton,   // push button with the toolkit's dialog default
    Edit,           // one-line edit field
    ValueEdit,      // read-only, centred edit
    UpperCaseEdit,  // edit that turns typed letters into upper case
    DropList,       // drop-down list
    HTrackBar,      // horizontal track bar, ticks below
    VTrackBar,      // vertical track bar, ticks on both sides
};

// Options of one control, or-ed together.
enum ControlOption : unsigned {
    NoOption = 0,
    Disabled = 1,          // starts disabled
    Beneath = 2,           // put beneath every other control once all exist
    MouseTransparent = 4,  // a frame that takes no clicks
    FitText = 8,           // at least as wide as its caption and indicator need
    Hidden = 16,           // made hidden; the window shows it when it applies
};

inline constexpr int NoId = -1;  // frames and labels nobody addresses

// One control of a window template: position and size in dialog units.
struct ControlEntry {
    int id;
    ControlKind kind;
    const char* text;  // UTF-8
    int x, y, width, height;
    unsigned options = NoOption;
};

// A window template: its controls in creation order, which is also the tab
// order, and the window's size in dialog units.
struct WindowTable {
    std::span<const ControlEntry> controls;
    int widthDlu;
    int heightDlu;
};

}  // namespace zr::widgets
