#include "setup/SerialPortCommand.h"

#include <QFile>
#include <mutex>
#include <string>

#include "link/ClOpen.h"
#include "link/ComPort.h"
#include "link/ComPortResolver.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "params/BulkOperations.h"
#include "setup/CSelect.h"
#include "widgets/ApplicationNames.h"

namespace zr {

namespace {

// Opens what the dialog chose; returns how to name it to the user.
QString openChosenTransport(SerialLink& link, const CSelect& dialog) {
    switch (dialog.TransportKind) {
        case CSelect::KindComPort: {
            // Resolved before the opening, which resolves it the same way.
            const ComPortResolver::Location where =
                ComPortResolver::fromEnvironment().locate(dialog.comNumber);
            OpenComPort(link, "COM" + std::to_string(dialog.comNumber) + " " +
                                  std::to_string(dialog.baudRate));
            return QStringLiteral("COM%1 (%2) %3 bit/s")
                .arg(dialog.comNumber)
                .arg(QString::fromLocal8Bit(where.device.empty() ? where.path : where.device))
                .arg(dialog.baudRate);
        }
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
            return QFile::decodeName(file.c_str());
        }
        case CSelect::KindClAll:
            OpenClAllSerial(link, clBaudBitFor(dialog.baudRate));
            return QStringLiteral("CL ALL port 0");
        default:
            return {};  // no transport button was checked: nothing to open
    }
}

}  // namespace

void SerialPortCommand::run(const SetupContext& context) {
    SerialLink& link = *context.link;
    CSelect dialog(context);
    if (dialog.exec() != QDialog::Accepted) return;

    context.port->portOpen = dialog.openRequested;
    if (dialog.openRequested == 1) {
        const bool wasOpen = link.isOpen();
        const QString where = openChosenTransport(link, dialog);
        bool open = false;
        {
            std::lock_guard<std::recursive_mutex> lock(link.linkMutex());
            open = link.isOpen();
        }
        if (!open) {
            context.port->portOpen = 0;
        } else {
            // An open link refuses a second opening and keeps its name.
            if (!wasOpen) context.port->setConnection(where);
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
    context.port->setConnection({});
}

}  // namespace zr
