#pragma once

#include "widgets/ControlEntry.h"
#include "widgets/DialogUnits.h"

class QWidget;

namespace zr::widgets {

// Turns a window's control table into its child widgets: the one way a
// window is built from a table, beside the .ui path for fixed forms.
class WindowBuilder {
  public:
    WindowBuilder(QWidget* window, const DialogUnits& units) : window_(window), units_(units) {}

    // Creates every control of `table` in its order and fixes the window's
    // size. A control with an id carries it in the property "controlId" (for
    // ControlMap::addTemplate) and is named "control<id>".
    void build(const WindowTable& table) const;

  private:
    QWidget* create(const ControlEntry& entry) const;

    QWidget* window_;
    DialogUnits units_;
};

}  // namespace zr::widgets
