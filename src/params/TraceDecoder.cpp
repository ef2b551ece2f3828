#include "params/TraceDecoder.h"

#include <cstdio>

#include "link/FrameCodec.h"
#include "link/LinkStatus.h"
#include "params/CameraParamTable.h"
#include "params/LutRegisters.h"
#include "params/ParamAccess.h"
#include "params/ParamNames.h"

namespace zr {

namespace {

using Kind = TraceEvent::Kind;

// A hexadecimal number of `digits` characters; nullopt for anything else.
std::optional<int> hexValue(const char* text, int digits) {
    int value = 0;
    for (int i = 0; i < digits; ++i) {
        const char c = text[i];
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        if (d < 0) return std::nullopt;
        value = value * 16 + d;
    }
    return value;
}

// The row a frame's area and address name, -1 for none.
int findRow(int area, int address) {
    const auto& rows = CameraParamTable::defaults();
    const bool read = (area & 0x80) != 0;
    for (int row = 0; row < CameraParamRows; ++row) {
        const CameraParam& p = rows[static_cast<size_t>(row)];
        if (p.name.empty() || p.address != address) continue;
        if ((read ? p.readArea : p.writeArea) == area) return row;
    }
    return -1;
}

// The command text of a command frame, empty for other bytes.
std::string frameText(const uint8_t* data, size_t count) {
    if (count != static_cast<size_t>(kCommandFrameSize) || data[0] != STX || data[15] != ETX)
        return {};
    return std::string(reinterpret_cast<const char*>(data) + 5, 10);
}

std::string hexBytes(const uint8_t* data, size_t count) {
    std::string hex;
    char b[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(b, sizeof b, i == 0 ? "%02X" : " %02X", data[i]);
        hex += b;
    }
    return hex;
}

std::string plural(size_t n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

std::string csvField(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

// "LUT red[12]"
std::string lutEntryName(const LutRegister& lut) {
    return std::string("LUT ") + lutChannelName(lut.channel) + "[" + std::to_string(lut.index) +
           "]";
}

}  // namespace

std::string TraceDecoder::commandMeaning(const uint8_t* data, size_t count) {
    const std::string text = frameText(data, count);
    if (text.empty()) return {};
    const auto area = hexValue(text.data(), 2);
    const auto address = hexValue(text.data() + 2, 2);
    if (area && address) {
        if (const auto lut = lutRegister(*area, *address)) {
            if (lut->read) return "read " + lutEntryName(*lut);
            if (const auto value = hexValue(text.data() + 4, 2))
                return "write " + lutEntryName(*lut) + " = " + std::to_string(*value);
        }
    }
    const int row = area && address ? findRow(*area, *address) : -1;
    if (row < 0) return "command " + text;
    const CameraParam& p = CameraParamTable::defaults()[static_cast<size_t>(row)];
    const std::string name(ParamNames::name(row));
    if ((*area & 0x80) != 0) return "read " + name;
    const auto value = hexValue(text.data() + 4, p.dataBytes() * 2);
    if (!value) return "command " + text;
    return "write " + name + " = " + std::to_string(*value);
}

TraceLine TraceDecoder::line(const TraceEvent& event, const char* direction) const {
    TraceLine l;
    l.ms = ticksSince(event.tick, openedTick_);
    l.direction = direction;
    return l;
}

int TraceDecoder::endExchange(uint32_t tick) {
    if (!inExchange_) return -1;
    inExchange_ = false;
    readRow_ = -1;
    readLut_.reset();
    return static_cast<int>(ticksSince(tick, exchangeStart_));
}

// A meaning of received bytes: onto their held line, or a line of its own
// when the bytes' line has already gone out.
void TraceDecoder::attach(const TraceEvent& event, const std::string& meaning) {
    int roundTrip = -1;
    switch (event.kind) {
        case Kind::Ack:
        case Kind::Nak:
            if (!answerExpected_) roundTrip = endExchange(event.tick);
            break;
        case Kind::Answer:
            roundTrip = endExchange(event.tick);
            break;
        default:
            break;
    }
    if (!held_) held_ = line(event, "<-");
    if (!held_->meaning.empty()) held_->meaning += ", ";
    held_->meaning += meaning;
    if (roundTrip >= 0) held_->roundTripMs = roundTrip;
}

void TraceDecoder::feed(const TraceEvent& event, std::vector<TraceLine>& out) {
    lastTick_ = event.tick;
    switch (event.kind) {
        case Kind::Ack:
            attach(event, "ACK");
            return;
        case Kind::Nak:
            attach(event, "NAK");
            return;
        case Kind::Answer:
        case Kind::BadChecksum: {
            std::string meaning = "answer " + hexBytes(event.data, event.count);
            if (event.kind == Kind::BadChecksum) {
                meaning += ": bad checksum";
            } else if (readLut_ && event.count == 3) {
                // The entry is the first byte; the frame's bytes are on the line.
                meaning =
                    "answer: " + lutEntryName(*readLut_) + " = " + std::to_string(event.data[0]);
            } else if (readRow_ >= 0 && event.count == 3) {
                const CameraParam& p = CameraParamTable::defaults()[static_cast<size_t>(readRow_)];
                const AnswerBytes bytes{event.data[0], event.data[1], event.data[2]};
                meaning += ": " + std::string(ParamNames::name(readRow_)) + " = " +
                           std::to_string(ParamAccess::valueFromAnswer(p, bytes));
            }
            attach(event, meaning);
            return;
        }
        case Kind::Dropped:
            attach(event, plural(event.count, "byte") + " dropped");
            return;
        default:
            break;
    }

    flush(out);
    const char* direction = event.kind == Kind::Sent       ? "->"
                            : event.kind == Kind::Received ? "<-"
                            : event.kind == Kind::Resend   ? "->"
                                                           : "";
    if (event.kind == Kind::Opened) {
        openedTick_ = event.tick;
        inExchange_ = resending_ = false;
        readRow_ = -1;
        readLut_.reset();
    }
    TraceLine l = line(event, direction);
    if (event.kind == Kind::Sent || event.kind == Kind::Received) {
        l.hex = hexBytes(event.data, event.count);
        for (size_t i = 0; i < event.count; ++i)
            l.text += event.data[i] >= 0x20 && event.data[i] < 0x7F ? char(event.data[i]) : '.';
    }
    switch (event.kind) {
        case Kind::Opened:
            l.meaning = "port opened";
            break;
        case Kind::Sent: {
            l.meaning = commandMeaning(event.data, event.count);
            const std::string text = frameText(event.data, event.count);
            if (!text.empty() && !resending_) {
                // A new exchange: its round trip counts from here.
                inExchange_ = true;
                exchangeStart_ = event.tick;
                answerExpected_ = expectsAnswer(text[0]);
                const auto area = hexValue(text.data(), 2);
                const auto address = hexValue(text.data() + 2, 2);
                readRow_ = answerExpected_ && area && address ? findRow(*area, *address) : -1;
                readLut_.reset();
                if (answerExpected_ && area && address) readLut_ = lutRegister(*area, *address);
            } else if (event.count == 1 && event.data[0] == ACK) {
                l.meaning = "ACK";
            } else if (event.count == 1 && event.data[0] == NAK) {
                l.meaning = "NAK";
            }
            resending_ = false;
            break;
        }
        case Kind::Received:
            // Its meaning follows in the events after it.
            held_ = std::move(l);
            return;
        case Kind::Resend:
            l.meaning = "resend " + std::to_string(event.number);
            resending_ = true;
            break;
        case Kind::AckTimeout:
            l.meaning = "ACK time-out";
            l.roundTripMs = endExchange(event.tick);
            break;
        case Kind::AnswerTimeout:
            l.meaning = "answer time-out";
            l.roundTripMs = endExchange(event.tick);
            break;
        default:
            break;
    }
    out.push_back(std::move(l));
}

void TraceDecoder::flush(std::vector<TraceLine>& out) {
    if (!held_) return;
    out.push_back(std::move(*held_));
    held_.reset();
}

TraceLine TraceDecoder::lostLine(uint64_t count) const {
    TraceLine l;
    l.ms = ticksSince(lastTick_, openedTick_);
    l.meaning = plural(count, "event") + " lost: the trace fell behind";
    return l;
}

uint64_t decodeQueued(TraceQueue& queue, TraceDecoder& decoder, size_t max,
                      std::vector<TraceLine>& out) {
    std::vector<TraceQueue::Record> records;
    const size_t taken = queue.drain(records, max);
    for (const TraceQueue::Record& r : records) decoder.feed(r.event(), out);
    if (taken == 0) decoder.flush(out);
    const uint64_t lost = queue.takeDropped();
    if (lost > 0) {
        decoder.flush(out);
        out.push_back(decoder.lostLine(lost));
    }
    return lost;
}

std::string traceCsvHeader() {
    return "ms,direction,hex,text,meaning,round_trip_ms\n";
}

std::string traceCsvLine(const TraceLine& l) {
    return std::to_string(l.ms) + "," + csvField(l.direction) + "," + csvField(l.hex) + "," +
           csvField(l.text) + "," + csvField(l.meaning) + "," +
           (l.roundTripMs >= 0 ? std::to_string(l.roundTripMs) : std::string()) + "\n";
}

}  // namespace zr
