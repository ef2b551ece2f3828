#include "panel/SerialPortCommand.h"

#include "panel/CZR_K880TM_ControlDlg.h"

namespace zr {

void SerialPortCommand::run(CZR_K880TM_ControlDlg&) {}

}  // namespace zr
