#include "link/TelnetCodec.h"

namespace zr::telnet {

namespace {

constexpr size_t kMaxSubnegotiation = 64;

}  // namespace

std::vector<uint8_t> escape(const uint8_t* data, size_t count) {
    std::vector<uint8_t> out;
    out.reserve(count + 2);
    for (size_t i = 0; i < count; ++i) {
        out.push_back(data[i]);
        if (data[i] == IAC) out.push_back(IAC);
    }
    return out;
}

std::vector<uint8_t> negotiation(uint8_t verb, uint8_t option) {
    return {IAC, verb, option};
}

std::vector<uint8_t> comPortCommand(uint8_t command, const std::vector<uint8_t>& value) {
    std::vector<uint8_t> out = {IAC, SB, kComPort, command};
    const std::vector<uint8_t> escaped = escape(value.data(), value.size());
    out.insert(out.end(), escaped.begin(), escaped.end());
    out.push_back(IAC);
    out.push_back(SE);
    return out;
}

void Decoder::feed(const uint8_t* bytes, size_t count, std::vector<uint8_t>& data,
                   std::vector<Event>& events) {
    for (size_t i = 0; i < count; ++i) {
        const uint8_t b = bytes[i];
        switch (state_) {
            case State::Data:
                if (b == IAC)
                    state_ = State::Iac;
                else
                    data.push_back(b);
                break;
            case State::Iac:
                if (b == IAC) {
                    data.push_back(IAC);
                    state_ = State::Data;
                } else if (b == WILL || b == WONT || b == DO || b == DONT) {
                    verb_ = b;
                    state_ = State::Verb;
                } else if (b == SB) {
                    sub_.clear();
                    state_ = State::Sub;
                } else {
                    // NOP, go ahead, a stray SE and the like carry nothing.
                    state_ = State::Data;
                }
                break;
            case State::Verb:
                events.push_back({Event::Kind::Negotiation, verb_, b, 0, {}});
                state_ = State::Data;
                break;
            case State::Sub:
                if (b == IAC)
                    state_ = State::SubIac;
                else if (sub_.size() < kMaxSubnegotiation)
                    sub_.push_back(b);
                break;
            case State::SubIac:
                if (b == IAC) {
                    if (sub_.size() < kMaxSubnegotiation) sub_.push_back(IAC);
                    state_ = State::Sub;
                    break;
                }
                // IAC SE ends it; anything else after IAC ends it as well.
                if (sub_.size() >= 2 && sub_.size() < kMaxSubnegotiation && sub_[0] == kComPort)
                    events.push_back({Event::Kind::ComPortReply, 0, 0, sub_[1],
                                      std::vector<uint8_t>(sub_.begin() + 2, sub_.end())});
                sub_.clear();
                state_ = State::Data;
                break;
        }
    }
}

}  // namespace zr::telnet
