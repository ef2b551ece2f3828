#include "panel/SerialPortCommand.h"

#include <QFile>
#include <mutex>
#include <string>

#include "link/CSelect.h"
#include "link/ClOpen.h"
#include "link/ComPort.h"
#include "panel/CZR_K880TM_ControlApp.h"
#include "panel/CZR_K880TM_ControlDlg.h"

namespace zr {

namespace {

void openChosenTransport(CZR_K880TM_ControlDlg& panel, const CSelect& dialog) {
    SerialLink& link = panel.link();
    switch (dialog.TransportKind) {
        case CSelect::KindComPort:
            OpenComPort(link, "COM" + std::to_string(dialog.comNumber) + " " +
                                  std::to_string(dialog.baudRate));
            break;
        case CSelect::KindBoardLibrary: {
            std::string file;
            if (dialog.radioChoice == CSelect::ChoiceEuresys) {
                file = "clseremc.dll";
            } else if (dialog.radioChoice == CSelect::ChoiceMatrox) {
                file = "clsermtx.dll";
            } else {
                file = QFile::encodeName(dialog.dllPath).toStdString();
            }
            OpenBoardLibrary(link, file);
            break;
        }
        case CSelect::KindClAll:
            OpenClAllSerial(link, clBaudBitFor(dialog.baudRate));
            break;
        default:
            break;  // no transport button was checked: nothing to open
    }
}

}  // namespace

void SerialPortCommand::run(CZR_K880TM_ControlDlg& panel) {
    CSelect dialog(panel);
    if (dialog.exec() != QDialog::Accepted) return;

    panel.portOpen = dialog.openRequested;
    if (dialog.openRequested == 1) {
        openChosenTransport(panel, dialog);
        bool open = false;
        {
            std::lock_guard<std::recursive_mutex> lock(panel.link().linkMutex());
            open = panel.link().isOpen();
        }
        if (!open) {
            panel.portOpen = 0;
        } else {
            panel.bulk().ReadFromCamera();
        }
        return;
    }

    Message closed;
    closed.text = "Port is closed";
    closed.caption = kApplicationName;
    closed.icon = MsgIcon::None;
    closed.buttons = MsgButtons::Ok;
    closed.owner = static_cast<const QWidget*>(&panel);
    panel.messages().show(closed);
    panel.link().CloseLink();
}

}  // namespace zr
