#pragma once

#include <QDialog>
#include <memory>

#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "params/BulkOperations.h"
#include "params/ParamAccess.h"

namespace zr {
class QtMessageSink;
}

// The main control panel. Owns the parameter table (inside ParamAccess), the
// one serial link and portOpen; its tool windows reach the camera through
// params() (and link() for the manual command window).
class CZR_K880TM_ControlDlg : public QDialog {
    Q_OBJECT
public:
    explicit CZR_K880TM_ControlDlg(QWidget* parent = nullptr);
    ~CZR_K880TM_ControlDlg() override;

    zr::ParamAccess& params();
    zr::BulkOperations& bulk();
    zr::SerialLink& link();
    zr::MessageRelay& messages();

    int portOpen = 0;

    // Sets every control from the table and brings the enabled states up to date.
    void RefreshPanel();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
