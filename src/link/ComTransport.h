#pragma once

#include <cstdint>

#include "link/LinkTransport.h"

namespace zr {

// A COM device opened non-blocking: reads return at once, writes wait for
// room in the output for a bounded time.
class ComTransport : public LinkTransport {
  public:
    explicit ComTransport(int fd) : fd_(fd) {}

    uint32_t read(uint8_t* buffer, uint32_t count) override;
    void write(const uint8_t* data, uint32_t count, uint32_t timeoutMs) override;
    void close() override;
    int pollFd() const override { return vanished_ ? -1 : fd_; }

  private:
    int fd_;
    bool vanished_ = false;  // a read failed as from a device that has gone
};

}  // namespace zr
