#pragma once

#include <QFont>
#include <QWidget>
#include <span>

// Template 133: the adjustment window's controls with their ids, captions and
// places in dialog units, and the builder that turns them into widgets.
namespace adjust_template {

enum class Kind {
    Frame,          // group box, caption optional
    Label,          // static text, left aligned
    CentredLabel,   // static text, centred
    Radio,          // radio button
    PushRadio,      // radio button that looks like a push button
    Check,          // check box
    Button,         // push button
    HTrackBar,      // horizontal track bar, ticks below
    VTrackBar,      // vertical track bar, ticks on both sides
    ValueEdit,      // read-only, centred edit
    UpperCaseEdit,  // edit that turns typed letters into upper case
};

inline constexpr int NoId = -1;  // static labels and frames without an identifier

struct Control {
    int id;
    Kind kind;
    const char* text;
    int x, y, width, height;  // dialog units
    bool hidden;
};

inline constexpr int WidthDlu = 320;
inline constexpr int HeightDlu = 404;

// The controls in creation order, which is also the tab order.
std::span<const Control> controls();

// The template's font ("MS Shell Dlg" 8), falling back to the desktop's sans serif.
QFont dialogFont();

// Creates every control as a child of `dialog` and sizes the dialog. The
// controls that carry an identifier hold it in the property "controlId".
void build(QWidget* dialog);

}  // namespace adjust_template
