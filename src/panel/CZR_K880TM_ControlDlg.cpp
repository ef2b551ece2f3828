#include "panel/CZR_K880TM_ControlDlg.h"

#include "link/SystemClock.h"
#include "panel/QtMessageSink.h"

struct CZR_K880TM_ControlDlg::Impl {
    explicit Impl(CZR_K880TM_ControlDlg* panel)
        : sink(panel),
          relay(sink),
          link(relay, zr::SystemClock::instance()),
          params(link, panel),
          bulk(params) {}
    zr::QtMessageSink sink;
    zr::MessageRelay relay;
    zr::SerialLink link;
    zr::ParamAccess params;
    zr::BulkOperations bulk;
};

CZR_K880TM_ControlDlg::CZR_K880TM_ControlDlg(QWidget* parent)
    : QDialog(parent), d(std::make_unique<Impl>(this)) {
    setWindowTitle("ZR_K880TM Control");
    d->bulk.setRefreshHook([this] { RefreshPanel(); });
}

CZR_K880TM_ControlDlg::~CZR_K880TM_ControlDlg() = default;

zr::ParamAccess& CZR_K880TM_ControlDlg::params() { return d->params; }
zr::BulkOperations& CZR_K880TM_ControlDlg::bulk() { return d->bulk; }
zr::SerialLink& CZR_K880TM_ControlDlg::link() { return d->link; }
zr::MessageRelay& CZR_K880TM_ControlDlg::messages() { return d->relay; }

void CZR_K880TM_ControlDlg::RefreshPanel() {}
