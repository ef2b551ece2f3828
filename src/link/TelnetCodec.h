#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zr::telnet {

// The telnet bytes an RFC 2217 port server speaks (RFC 854, RFC 2217).
inline constexpr uint8_t IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250,
                         SE = 240;
inline constexpr uint8_t kBinary = 0, kSuppressGoAhead = 3, kComPort = 44;
// COM port option commands, client to server; the server answers each with
// the command plus 100 and the value it put in place.
inline constexpr uint8_t kSetBaudRate = 1, kSetDataSize = 2, kSetParity = 3, kSetStopSize = 4,
                         kSetControl = 5, kServerOffset = 100;

// Data for the line: every IAC doubled.
std::vector<uint8_t> escape(const uint8_t* data, size_t count);
// IAC <verb> <option>.
std::vector<uint8_t> negotiation(uint8_t verb, uint8_t option);
// IAC SB COM-PORT-OPTION <command> <value, escaped> IAC SE.
std::vector<uint8_t> comPortCommand(uint8_t command, const std::vector<uint8_t>& value);

// What the server said besides data.
struct Event {
    enum class Kind { Negotiation, ComPortReply };
    Kind kind = Kind::Negotiation;
    uint8_t verb = 0;     // Negotiation: WILL, WONT, DO or DONT
    uint8_t option = 0;   // Negotiation: the option
    uint8_t command = 0;  // ComPortReply: the server's command (request + 100)
    std::vector<uint8_t> value;
};

// Splits the byte stream from a telnet server into line data and events. A
// sequence may be cut anywhere between two reads. Sub-negotiations other
// than the COM port option are dropped, and so is a sub-negotiation that
// grows past any sensible size.
class Decoder {
  public:
    // Appends the data bytes to `data` and the events to `events`.
    void feed(const uint8_t* bytes, size_t count, std::vector<uint8_t>& data,
              std::vector<Event>& events);

  private:
    enum class State { Data, Iac, Verb, Sub, SubIac };
    State state_ = State::Data;
    uint8_t verb_ = 0;
    std::vector<uint8_t> sub_;
};

}  // namespace zr::telnet
