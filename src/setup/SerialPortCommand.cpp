#include "setup/SerialPortCommand.h"

#include <QFile>
#include <mutex>
#include <string>

#include "link/ClOpen.h"
#include "link/ComPort.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "params/BulkOperations.h"
#include "setup/CSelect.h"
#include "widgets/ApplicationNames.h"

namespace zr {

namespace {

void openChosenTransport(SerialLink& link, const CSelect& dialog) {
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

void SerialPortCommand::run(const SetupContext& context) {
    SerialLink& link = *context.link;
    CSelect dialog(context);
    if (dialog.exec() != QDialog::Accepted) return;

    *context.portOpen = dialog.openRequested;
    if (dialog.openRequested == 1) {
        openChosenTransport(link, dialog);
        bool open = false;
        {
            std::lock_guard<std::recursive_mutex> lock(link.linkMutex());
            open = link.isOpen();
        }
        if (!open) {
            *context.portOpen = 0;
        } else {
            context.bulk->ReadFromCamera();
        }
        return;
    }

    context.messages->show({.text = "Port is closed",
                            .caption = kApplicationName,
                            .icon = MsgIcon::None,
                            .buttons = MsgButtons::Ok,
                            .owner = static_cast<const QWidget*>(context.window)});
    link.CloseLink();
}

}  // namespace zr
