#include "link/Rfc2217Handshake.h"

namespace zr {

namespace {

using namespace telnet;

void append(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

bool offered(uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead || option == kComPort;
}

// RFC 2217 values: parity 1 none, stop size 1 one bit, control 1 no flow
// control.
constexpr uint8_t kDataBits = 8, kNoParity = 1, kOneStopBit = 1, kNoFlowControl = 1;

}  // namespace

std::vector<uint8_t> Rfc2217Handshake::start() const {
    std::vector<uint8_t> out;
    for (const uint8_t option : {kBinary, kSuppressGoAhead}) {
        append(out, negotiation(WILL, option));
        append(out, negotiation(DO, option));
    }
    append(out, negotiation(WILL, kComPort));
    return out;
}

std::vector<uint8_t> Rfc2217Handshake::lineRequest() const {
    std::vector<uint8_t> out;
    append(out,
           comPortCommand(kSetBaudRate,
                          {static_cast<uint8_t>(baud_ >> 24), static_cast<uint8_t>(baud_ >> 16),
                           static_cast<uint8_t>(baud_ >> 8), static_cast<uint8_t>(baud_)}));
    append(out, comPortCommand(kSetDataSize, {kDataBits}));
    append(out, comPortCommand(kSetParity, {kNoParity}));
    append(out, comPortCommand(kSetStopSize, {kOneStopBit}));
    append(out, comPortCommand(kSetControl, {kNoFlowControl}));
    return out;
}

std::vector<uint8_t> Rfc2217Handshake::onEvent(const telnet::Event& event) {
    if (state_ != State::Waiting) return {};
    if (event.kind == Event::Kind::ComPortReply) {
        if (event.command == kServerOffset + kSetBaudRate && event.value.size() == 4) {
            serverBaud_ = static_cast<uint32_t>(event.value[0]) << 24 |
                          static_cast<uint32_t>(event.value[1]) << 16 |
                          static_cast<uint32_t>(event.value[2]) << 8 | event.value[3];
            state_ = serverBaud_ == baud_ ? State::Done : State::SpeedRefused;
        }
        return {};
    }
    if (event.option == kComPort) {
        if (event.verb == DO && !lineAsked_) {
            lineAsked_ = true;
            return lineRequest();
        }
        if (event.verb == DONT) state_ = State::OptionRefused;
        return {};
    }
    if (offered(event.option)) return {};
    if (event.verb == DO) return negotiation(WONT, event.option);
    if (event.verb == WILL) return negotiation(DONT, event.option);
    return {};
}

}  // namespace zr
