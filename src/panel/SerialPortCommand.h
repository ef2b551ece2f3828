#pragma once

class CZR_K880TM_ControlDlg;

namespace zr {

// The panel's Serial Port command: runs the setup dialog and opens or closes
// the link as chosen; reads the camera after a successful opening.
class SerialPortCommand {
public:
    static void run(CZR_K880TM_ControlDlg& panel);
};

}  // namespace zr
