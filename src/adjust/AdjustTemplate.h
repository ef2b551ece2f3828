#pragma once

#include <QFont>
#include <QWidget>
#include <span>

#include "widgets/ControlEntry.h"

// Template 133: the adjustment window's controls with their ids, captions and
// places in dialog units, built by the window builder.
namespace adjust_template {

inline constexpr int NoId = zr::widgets::NoId;  // static labels and frames without an identifier

using Control = zr::widgets::ControlEntry;

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
