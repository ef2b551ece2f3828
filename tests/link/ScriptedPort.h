#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "link/ClSerialApi.h"
#include "link/Clock.h"

namespace zr::test {

using Bytes = std::vector<uint8_t>;

// The camera's answer 12AB with its checksum, and the same with a wrong one.
inline const Bytes kGood{0x02, 0x31, 0x32, 0x41, 0x42, 0x30, 0x30, 0x03, 0x42, 0x34};
inline const Bytes kBad{0x02, 0x31, 0x32, 0x41, 0x42, 0x30, 0x30, 0x03, 0x42, 0x35};

// A Camera Link serial port made of a script, for checking exactly how the
// worker calls the library: every read's size and time-out, every write's
// bytes and time-out and the tick it happened at. Each read returns the next
// queued chunk (at most the size asked for). A responder, called after every
// write, may queue the camera's replies. Process-wide, like a loaded library.
class ScriptedPort {
  public:
    struct Write {
        Bytes bytes;
        uint32_t timeoutMs;
        uint32_t tick;
        void* ref;
    };
    struct Read {
        uint32_t sizeIn;
        uint32_t timeoutMs;
        void* ref;
    };
    using Responder = std::function<std::vector<Bytes>(const Bytes& written)>;

    static ScriptedPort& instance();
    static ClSerialFunctions functions();  // read, write, close only

    void reset(Clock* clock);
    void queue(Bytes chunk);
    void respond(Responder responder);
    // Misbehave: report a size far larger than the buffer after a read with data.
    void reportOversizedReads(bool on);
    // A line that never goes quiet: with nothing queued, a read waits `ms` of
    // the clock for the next stray byte and returns it (0: off).
    void noiseEvery(uint32_t ms);

    std::vector<Write> writes();
    std::vector<Bytes> frameWrites();  // the 18-byte writes only
    std::vector<Read> reads();
    size_t readCount();
    int closeCount();
    void* lastClosedRef();
    bool queueEmpty();

  private:
    static int32_t read(void* ref, int8_t* buffer, uint32_t* size, uint32_t timeoutMs);
    static int32_t write(void* ref, int8_t* buffer, uint32_t* size, uint32_t timeoutMs);
    static void close(void* ref);

    std::mutex mutex_;
    Clock* clock_ = nullptr;
    std::deque<Bytes> chunks_;
    Responder responder_;
    bool oversized_ = false;
    uint32_t noiseMs_ = 0;
    std::vector<Write> writes_;
    std::vector<Read> reads_;
    size_t readCount_ = 0;
    int closeCount_ = 0;
    void* lastClosedRef_ = nullptr;
};

// Answers of a well-behaved camera for the responder: ACK for every frame, and
// for a frame whose first command character is '8' to 'F' also `answer`
// (a complete answer frame), in a read of its own.
ScriptedPort::Responder ackingCamera(Bytes answer);
// A complete answer frame for six data digits, with its correct checksum
// (or that checksum plus `sumDelta`).
Bytes answerFrame(const char* sixDigits, int sumDelta = 0);

}  // namespace zr::test
