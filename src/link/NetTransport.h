#pragma once

#include <cstdint>

#include "link/LinkTransport.h"
#include "link/TelnetCodec.h"

namespace zr {

// A serial port behind a serial device server: a connected TCP socket,
// either carrying the line's bytes as they are (socket://) or wrapped in
// telnet (rfc2217://), where every IAC in the data is doubled both ways and
// the server's option requests get their refusals. A connection that drops
// reads as a port that gives no bytes: the exchange ends in its time-out, as
// with a pulled adapter.
class NetTransport : public LinkTransport {
  public:
    // Takes over the connected, non-blocking socket; `decoder` carries the
    // state of a telnet stream already begun.
    NetTransport(int fd, bool telnet, telnet::Decoder decoder = {})
        : fd_(fd), telnet_(telnet), decoder_(std::move(decoder)) {}

    uint32_t read(uint8_t* buffer, uint32_t count) override;
    void write(const uint8_t* data, uint32_t count, uint32_t timeoutMs) override;
    void close() override;
    int pollFd() const override { return ended_ ? -1 : fd_; }

  private:
    void refuse(const telnet::Event& event);

    int fd_;
    bool telnet_;
    bool ended_ = false;  // the far end closed the connection, or it failed
    telnet::Decoder decoder_;
};

// Sends all bytes on a non-blocking socket, waiting for room at most
// `limitMs` in all; false when the connection failed or stayed full.
bool sendAll(int fd, const uint8_t* data, size_t count, int limitMs);

}  // namespace zr
