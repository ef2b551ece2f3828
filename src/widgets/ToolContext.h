#pragma once

#include "link/Message.h"

namespace zr {
class MessageRelay;
class ParamAccess;
class SerialLink;
}  // namespace zr

namespace zr::widgets {

// What a tool window uses of the program, handed over by the panel that opens
// it: the window reaches the camera and the message boxes through these and
// knows nothing of the panel itself.
struct ToolContext {
    ParamAccess* params = nullptr;     // the parameter table and its operations
    SerialLink* link = nullptr;        // raw command text; whether an exchange runs
    MessageRelay* messages = nullptr;  // the program's message boxes
    // Owner of the boxes a window shows that must come up while it is hidden
    // (the panel's window).
    MsgOwner boxOwner = nullptr;

    bool complete() const { return params && link && messages; }
};

}  // namespace zr::widgets
