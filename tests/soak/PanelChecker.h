#pragma once

#include <string>
#include <vector>

#include "ExchangeTracker.h"
#include "model/CameraModel.h"
#include "panel/CZR_K880TM_ControlDlg.h"

namespace zr::test {

// What must hold whenever the link is idle: every radio group, scroll bar and
// read-out of the panel, and the values the tool windows show, follow the
// table; the table holds the camera's register wherever the last exchange of
// that row was acknowledged (the camera model is the oracle).
class PanelChecker {
  public:
    PanelChecker(CZR_K880TM_ControlDlg& panel, sim::CameraModel& camera, ExchangeTracker& tracker)
        : panel_(panel), camera_(camera), tracker_(tracker) {}

    // Everything that does not hold, one line each; empty when all does.
    std::vector<std::string> check();

  private:
    void checkRadios(std::vector<std::string>& problems);
    void checkScrollBars(std::vector<std::string>& problems);
    void checkToolWindows(std::vector<std::string>& problems);
    void checkCamera(std::vector<std::string>& problems);

    CZR_K880TM_ControlDlg& panel_;
    sim::CameraModel& camera_;
    ExchangeTracker& tracker_;
};

}  // namespace zr::test
