#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace zr {

class BulkOperations;
class MessageRelay;
class SerialLink;

// What the Serial Port command and its setup dialog use of the program,
// handed over by the panel: they know nothing of the panel itself.
struct SetupContext {
    QWidget* window = nullptr;         // parent of the dialog, owner of its boxes
    SerialLink* link = nullptr;        // the link to open or close
    BulkOperations* bulk = nullptr;    // reads the camera once the link is open
    MessageRelay* messages = nullptr;  // the program's message boxes
    int* portOpen = nullptr;           // the panel's portOpen, set from the dialog
    // Told what the link talks to when the command has opened it ("COM3
    // (/dev/ttyS2) 9600 bit/s"), or an empty text when it has closed it.
    std::function<void(const QString&)> connectionChanged;
};

}  // namespace zr
