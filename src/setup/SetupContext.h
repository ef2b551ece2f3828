#pragma once

#include "setup/PortState.h"

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
    PortState* port = nullptr;         // the panel's portOpen and connection
};

}  // namespace zr
