#include "link/ClSerialTransport.h"

#include <cstring>

namespace zr {

uint32_t ClSerialTransport::read(uint8_t* buffer, uint32_t count) {
    const uint32_t asked = count < kMaxRead ? count : kMaxRead;
    uint32_t size = asked;
    const int32_t result = fns_.serialRead(ref_, readBuffer_.data(), &size, kClReadTimeoutMs);
    // Some libraries fail a read that found nothing (a time-out) and leave
    // the size as it was passed in. Those bytes would be an earlier pass's
    // bytes, parsed again, and a pass with bytes never writes or times out,
    // so the link would stall for good: nothing was read.
    if (result != 0 && size == asked) size = 0;
    // A library that claims more than it was asked for is not believed.
    if (size > asked) size = asked;
    std::memcpy(buffer, readBuffer_.data(), size);
    return size;
}

void ClSerialTransport::write(const uint8_t* data, uint32_t count, uint32_t timeoutMs) {
    // The library gets a copy: its buffer parameter is not const. It is never
    // told of more bytes than the copy holds.
    int8_t copy[kMaxWrite];
    const uint32_t n = count < kMaxWrite ? count : kMaxWrite;
    std::memcpy(copy, data, n);
    uint32_t size = n;
    fns_.serialWrite(ref_, copy, &size, timeoutMs);
}

void ClSerialTransport::close() {
    if (closed_) return;
    closed_ = true;
    if (fns_.serialClose) fns_.serialClose(ref_);
}

}  // namespace zr
