#pragma once

class CZR_K880TM_ControlDlg;

namespace zr::test {

// Opens the panel's own link on the in-process simulated camera at serial
// index 0 (attached by the caller), as the Serial Port command's OPEN does.
// False when the port did not open or the link refused it.
bool openSimPort(CZR_K880TM_ControlDlg& panel);

}  // namespace zr::test
