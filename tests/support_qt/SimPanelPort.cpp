#include "support_qt/SimPanelPort.h"

#include "model/SimClSerial.h"
#include "panel/CZR_K880TM_ControlDlg.h"

namespace zr::test {

bool openSimPort(CZR_K880TM_ControlDlg& panel) {
    const ClSerialFunctions& fns = sim::inProcessClFunctions();
    void* ref = nullptr;
    if (!fns.serialInit || fns.serialInit(0, &ref) != 0) return false;
    if (!panel.link().startOnBoardPort(fns, ref)) {
        if (fns.serialClose) fns.serialClose(ref);
        return false;
    }
    panel.link().clearWaitingFlags();
    panel.portOpen = 1;
    return true;
}

}  // namespace zr::test
