#include "panel/CZR_K880TM_ControlApp.h"

#include <QApplication>
#include <QIcon>

#include "panel/CZR_K880TM_ControlDlg.h"

CZR_K880TM_ControlApp::CZR_K880TM_ControlApp(char* argv0) : argv_{argv0, nullptr} {}

int CZR_K880TM_ControlApp::run() {
    // The toolkit sees the program name only: the program takes no arguments.
    QApplication application(argc_, argv_);
    QCoreApplication::setOrganizationName(zr::kProfileOrganisation);
    QCoreApplication::setApplicationName(zr::kApplicationName);
    QCoreApplication::setApplicationVersion("1.1.2.0");
    Q_INIT_RESOURCE(appicon);
    QApplication::setWindowIcon(QIcon(":/icons/zr_k880tm_control.png"));

    CZR_K880TM_ControlDlg panel;
    runPanel(panel);
    return 0;
}

void CZR_K880TM_ControlApp::runPanel(CZR_K880TM_ControlDlg& panel) {
    // The setup dialog, the opening and the first read come before the panel
    // shows, so that it appears filled (or empty when no port was opened).
    panel.startSession();
    panel.exec();  // the result is not used
}
