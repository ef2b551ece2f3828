#pragma once

#include <cstddef>
#include <cstdint>

namespace zr {

// One thing the link's worker did or saw, as its trace hook is told of it.
// Bytes (when any) belong to the caller and are valid only during the call.
struct TraceEvent {
    enum class Kind : uint8_t {
        Opened,         // the worker started on a port
        Sent,           // bytes written to the port
        Received,       // bytes read from the port
        Ack,            // the exchange's ACK came
        Nak,            // a NAK came instead
        Answer,         // a good answer frame; bytes: its three data bytes
        BadChecksum,    // an answer frame failed its checksum; bytes: its data bytes
        Dropped,        // bytes received that no exchange took
        Resend,         // the frame goes out again; number: the resend, from 1
        AckTimeout,     // no ACK after the last resend
        AnswerTimeout,  // no answer data in time
    };
    Kind kind = Kind::Sent;
    uint32_t tick = 0;  // the link clock's tick when it happened
    const uint8_t* data = nullptr;
    size_t count = 0;
    int number = 0;
};

}  // namespace zr
