#pragma once

#include <string>

namespace zr {

class SerialLink;

// Opens a network serial port (rfc2217:// or socket://, see NetUrl) and
// starts the link on it. The connection and the server's answers are waited
// for a bounded time; every failure shows its box, naming the URL and what
// went wrong, as a COM port that cannot be opened does. True when the link
// runs.
bool openNetPort(SerialLink& link, const std::string& urlText, int baud);

}  // namespace zr
