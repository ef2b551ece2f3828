#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zr {

// A serial port reached over the network: a serial device server or ser2net
// in front of the camera's line.
//   rfc2217://HOST:PORT  telnet with the COM port option: the line is set
//                        from here (speed, 8 data bits, no parity, 1 stop bit)
//   socket://HOST:PORT   plain TCP: the line is set at the far end
// HOST is a name, an IPv4 address or an IPv6 address in brackets.
struct NetUrl {
    enum class Kind { Rfc2217, Socket };
    Kind kind = Kind::Socket;
    std::string host;
    uint16_t port = 0;
    std::string text;  // as given, for messages
};

// True when the text names one of the two schemes, well formed or not.
bool hasNetScheme(std::string_view text);
// The URL, or nothing when the text is not a well-formed one.
std::optional<NetUrl> parseNetUrl(std::string_view text);

}  // namespace zr
