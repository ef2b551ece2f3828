#include "adjust/CAdjust.h"

CAdjust::CAdjust(QWidget* parent) : QDialog(parent) {}

bool CAdjust::CreateModeless(CZR_K880TM_ControlDlg* panel) {
    panel_ = panel;
    setModal(false);
    return true;
}
