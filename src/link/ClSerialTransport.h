#pragma once

#include <array>
#include <cstdint>

#include "link/ClSerialApi.h"
#include "link/LinkTransport.h"

namespace zr {

// A Camera Link serial port, of a maker's library or the common one, reached
// through the library's functions. Libraries are outside code: their reads are
// taken as "what is there", their claims about sizes are checked, and they
// never get the caller's buffers.
class ClSerialTransport : public LinkTransport {
  public:
    // `functions` must have read and write; a null reference is a valid port.
    ClSerialTransport(const ClSerialFunctions& functions, void* serialRef)
        : fns_(functions), ref_(serialRef) {}

    uint32_t read(uint8_t* buffer, uint32_t count) override;
    void write(const uint8_t* data, uint32_t count, uint32_t timeoutMs) override;
    void close() override;
    bool readWaits() const override { return true; }

  private:
    // The most a read asks the library for.
    static constexpr uint32_t kMaxRead = kClReadSize;
    // Room behind the bytes asked for, for a library that writes past them.
    static constexpr uint32_t kReadSlack = 412;
    // The longest write: a command frame.
    static constexpr uint32_t kMaxWrite = 18;

    ClSerialFunctions fns_;
    void* ref_;
    bool closed_ = false;
    std::array<int8_t, kMaxRead + kReadSlack> readBuffer_{};
};

}  // namespace zr
