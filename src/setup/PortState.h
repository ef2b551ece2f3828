#pragma once

#include <QString>

#include "params/ChangeNotice.h"

namespace zr {

// The panel's port state, in one place: `portOpen`, the flag the Serial Port
// command sets and its dialog starts from, and what the command opened
// ("COM3 (/dev/ttyS2) 9600 bit/s"; empty once it closed the link). Whoever
// shows the connection listens to `changes`. Whether the link itself is still
// open (a port can vanish) is the link's to say.
struct PortState {
    int portOpen = 0;
    QString connection;
    ChangeNotice changes;

    void setConnection(const QString& text) {
        connection = text;
        changes.notify();
    }
};

}  // namespace zr
