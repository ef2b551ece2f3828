#pragma once

#include <QHash>
#include <QSet>

#include "params/ChangeNotice.h"

class QButtonGroup;
class QWidget;

namespace zr {
class ParamAccess;
}
namespace zr::widgets {
class ControlMap;
}

namespace zr::panel {

// Shows the parameter table on the panel's 55 radio buttons, 26 scroll bars
// and their read-outs, keeps the enabled states to the camera's mode, and
// writes what the user changes on them. The table is the one home of every
// value: the controls show it again whenever it tells of a change.
class PanelControls {
  public:
    // `panel` takes the focus from a control that a rule disables.
    PanelControls(QWidget* panel, widgets::ControlMap& controls, ParamAccess& params);
    PanelControls(const PanelControls&) = delete;
    PanelControls& operator=(const PanelControls&) = delete;

    // Sets every control from the table and brings the enabled states up to
    // date. Sends nothing.
    void RefreshPanel();
    // Moves a scroll bar's thumb to `position` and rewrites its read-out.
    void ShowScrollValue(int scrollId, int readoutId, int position);
    // Applies the enabling rules triggered by control `id`; 0 applies them all.
    void UpdateControlStates(int id);
    // The radio button and scroll bar handlers.
    void OnRadioClicked(int id);
    void OnHScroll(int code, int position, int scrollId);

  private:
    void bind();
    void refreshRadioGroup(int row);
    // Checks button `checkedId` of a row's group (0: none) and unchecks the rest.
    void showRadio(int row, int checkedId);
    // Takes the focus onto the panel when `focused` has just been disabled.
    void parkFocusIfDisabled(QWidget* focused);

    QWidget* panel_;
    widgets::ControlMap& controls_;
    ParamAccess& params_;
    QHash<int, QButtonGroup*> radioGroups_;  // by table row
    // Rows whose group shows the table: until the first refresh or a click
    // that went through, a group shows no button, as the template left it.
    QSet<int> shownRows_;
    ChangeNotice::Listening listening_;
};

}  // namespace zr::panel
