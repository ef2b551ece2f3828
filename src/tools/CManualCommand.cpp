#include "tools/CManualCommand.h"

CManualCommand::CManualCommand(QWidget* parent) : QDialog(parent) {}

bool CManualCommand::CreateModeless(CZR_K880TM_ControlDlg* panel) {
    panel_ = panel;
    setModal(false);
    return true;
}
