#pragma once

namespace zr::widgets {
class ControlMap;
}

namespace zr::panel {

// The enabling rules of the panel: which controls are greyed out in the
// camera's current mode. They look only at the check state of the buttons.
// Applies every rule triggered by control `id`, in rule order, so that a
// later rule overrides an earlier one on a shared control; 0 applies all.
void updateControlStates(const widgets::ControlMap& controls, int id);

}  // namespace zr::panel
