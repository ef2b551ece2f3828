#pragma once

#include <cstdint>
#include <vector>

#include "link/TelnetCodec.h"

namespace zr {

// The opening talk with an RFC 2217 port server, apart from the socket: offer
// binary mode and the COM port option; once the server takes the option,
// ask for the line (speed, 8 data bits, no parity, 1 stop bit, no flow
// control) and check the speed the server reports back. Other options the
// server asks for are refused.
class Rfc2217Handshake {
  public:
    enum class State { Waiting, Done, OptionRefused, SpeedRefused };

    explicit Rfc2217Handshake(uint32_t baud) : baud_(baud) {}
    // What the client says first.
    std::vector<uint8_t> start() const;
    // Takes one thing the server said; returns what to send back now.
    std::vector<uint8_t> onEvent(const telnet::Event& event);

    State state() const { return state_; }
    uint32_t serverBaud() const { return serverBaud_; }  // SpeedRefused: what it kept

  private:
    std::vector<uint8_t> lineRequest() const;

    uint32_t baud_;
    uint32_t serverBaud_ = 0;
    bool lineAsked_ = false;
    State state_ = State::Waiting;
};

}  // namespace zr
