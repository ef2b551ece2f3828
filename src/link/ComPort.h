#pragma once

#include <string>
#include <string_view>

namespace zr {

class SerialLink;

// The two tokens of a port text such as "COM3 9600": blank-separated, leading
// and repeated blanks skipped; further tokens are ignored.
struct PortText {
    std::string device;
    std::string baud;
};
PortText SplitPortText(std::string_view portText);

// "COMn" (any letter case) to n in 1..255; 0 for anything else.
int ComPortNumber(std::string_view device);

// Opens the COM port named by the port text and starts the link's worker on
// it. 0 when the link is open, 1 otherwise (messages shown).
int OpenComPort(SerialLink& link, std::string_view portText);

// The same for a tty given by its path (the command-line tool's device).
int OpenComDevice(SerialLink& link, const std::string& devicePath, std::string_view baudText);

// Fills the link's comPorts with the ports COM1..COM255 that exist, are free
// and take 9600 8-N-1, ascending; the remaining entries are -1. Free: not
// locked, not exclusive and not open in another process (as far as /proc
// shows). A probed port keeps its line settings and buffered bytes.
void EnumerateComPorts(SerialLink& link);

}  // namespace zr
