#pragma once

namespace zr::widgets {
class ControlMap;
}

namespace zr::panel {

using widgets::ControlMap;

// The enabling rules of the panel: which controls are greyed out in the
// camera's current mode. They look only at the check state of the buttons.
class ControlStates {
  public:
    // Applies every rule triggered by control `id`, in rule order, so that a
    // later rule overrides an earlier one on a shared control; 0 applies all.
    static void update(const ControlMap& controls, int id);
    // The controls that follow the automatic level control.
    static void updateAlc(const ControlMap& controls);
};

}  // namespace zr::panel
