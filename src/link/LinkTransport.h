#pragma once

#include <cstdint>

namespace zr {

// The byte road under the link: one open port, read and written only by the
// link's worker. Destroying a transport does not close its port; close() does,
// so a link that fails to start hands the port back untouched.
class LinkTransport {
  public:
    virtual ~LinkTransport() = default;

    // Takes what has arrived, at most `count` bytes, waiting at most the port's
    // short read time-out; the number of bytes taken, 0 for none. A failing or
    // vanished port gives 0, so the exchange ends in its time-out.
    virtual uint32_t read(uint8_t* buffer, uint32_t count) = 0;
    // Writes the bytes; the result is not looked at by the link.
    virtual void write(const uint8_t* data, uint32_t count, uint32_t timeoutMs) = 0;
    // Releases the port; called once, after the worker has ended.
    virtual void close() = 0;
    // A descriptor that turns readable when bytes arrive, which the worker
    // sleeps on between passes; -1 when the port has none, or no longer
    // (its device or connection has gone: nothing will arrive).
    virtual int pollFd() const { return -1; }
    // The port's reads themselves wait a short time for bytes (a Camera Link
    // library): then the read is the worker's wait.
    virtual bool readWaits() const { return false; }
};

}  // namespace zr
