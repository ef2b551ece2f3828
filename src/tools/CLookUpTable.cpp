#include "tools/CLookUpTable.h"

CLookUpTable::CLookUpTable(QWidget* parent) : QDialog(parent) {}

bool CLookUpTable::CreateModeless(CZR_K880TM_ControlDlg* panel) {
    panel_ = panel;
    setModal(false);
    return true;
}
