#pragma once

#include "widgets/ApplicationNames.h"

class CZR_K880TM_ControlDlg;

// The application object: sets up the toolkit and the profile, then runs the
// main control panel modally once; the program ends when the panel closes.
class CZR_K880TM_ControlApp {
  public:
    // argv0 is used for the toolkit only; no other argument is read.
    explicit CZR_K880TM_ControlApp(char* argv0);

    // Returns the process exit code.
    int run();

    // One run of the panel: its Serial Port command while it is still hidden,
    // then the panel itself, modally, until it closes.
    static void runPanel(CZR_K880TM_ControlDlg& panel);

  private:
    int argc_ = 1;
    char* argv_[2];
};
