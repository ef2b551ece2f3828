#include "tools/CWhiteSpot.h"

CWhiteSpot::CWhiteSpot(QWidget* parent) : QDialog(parent) {}

bool CWhiteSpot::CreateModeless(CZR_K880TM_ControlDlg* panel) {
    panel_ = panel;
    setModal(false);
    return true;
}
