#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/TraceEvent.h"
#include "link/TraceQueue.h"
#include "params/LutRegisters.h"

namespace zr {

// One line of the link trace.
struct TraceLine {
    uint32_t ms = 0;        // since the port was opened
    std::string direction;  // "->" to the camera, "<-" from it, empty for the link's own events
    std::string hex;        // the bytes, "02 30 30"
    std::string text;       // the same bytes as characters, '.' for the unprintable
    std::string meaning;
    int roundTripMs = -1;  // on the line that ends an exchange, else -1

    bool operator==(const TraceLine&) const = default;
};

// Turns the link's trace events into lines: command frames into the read or
// write of a named setting and its value, answers into their bytes and value,
// and the link's own events into words. What the link made of received bytes
// (ACK, answer, bad checksum, dropped bytes) joins the line of those bytes,
// which is therefore held back until the next other event or flush(). Each
// exchange's round trip, from its first frame to its end, is on the line that
// ends it. Pure: it sees only the events it is fed.
class TraceDecoder {
  public:
    explicit TraceDecoder(uint32_t openedTick = 0) : openedTick_(openedTick) {}

    void feed(const TraceEvent& event, std::vector<TraceLine>& out);
    // Hands over a received line still held back.
    void flush(std::vector<TraceLine>& out);
    // A line for events the queue could not keep.
    TraceLine lostLine(uint64_t count) const;

    // The text of a command frame's meaning: "write gain_level = 341",
    // "read gain_level", "write LUT green[0] = 0", "read LUT red[12]" or
    // "command 3001FFFF00"; empty for other bytes.
    static std::string commandMeaning(const uint8_t* data, size_t count);

  private:
    TraceLine line(const TraceEvent& event, const char* direction) const;
    void attach(const TraceEvent& event, const std::string& meaning);
    int endExchange(uint32_t tick);

    uint32_t openedTick_;
    uint32_t lastTick_ = 0;
    std::optional<TraceLine> held_;
    bool inExchange_ = false;
    bool answerExpected_ = false;
    bool resending_ = false;
    uint32_t exchangeStart_ = 0;
    int readRow_ = -1;                    // the row whose value an answer carries, -1 none
    std::optional<LutRegister> readLut_;  // or the look-up table entry
};

// Lines a trace reader keeps; older ones go.
inline constexpr size_t kTraceLinesKept = 10000;

// One poll of a trace reader: decodes up to `max` queued records into `out`.
// Once the queue has gone quiet the line held back for its meanings is handed
// over, since nothing more is coming for it; events the queue had to drop
// become a line of their own. Returns how many events were dropped.
uint64_t decodeQueued(TraceQueue& queue, TraceDecoder& decoder, size_t max,
                      std::vector<TraceLine>& out);

// The CSV file of the trace: a header line, then one line per trace line.
std::string traceCsvHeader();
std::string traceCsvLine(const TraceLine& line);

}  // namespace zr
