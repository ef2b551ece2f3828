#pragma once

#include <QDialog>

class CZR_K880TM_ControlDlg;

// Placeholder window until the real one is built.
class CWhiteSpot : public QDialog {
    Q_OBJECT
public:
    explicit CWhiteSpot(QWidget* parent = nullptr);
    // Stores the owning panel and creates the modeless window.
    bool CreateModeless(CZR_K880TM_ControlDlg* panel);

private:
    CZR_K880TM_ControlDlg* panel_ = nullptr;
};
