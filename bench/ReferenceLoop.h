#pragma once

#include <string>

#include "LinkBench.h"
#include "link/TtyDevice.h"

namespace zr::bench {

// The fastest exchange loop this machine allows, for comparison with the
// link: one thread, no worker, no hand-offs. It opens the COM device the way
// the link does, writes the frame, blocks in poll() until the ACK (and, for a
// read, the 10-byte answer) is in, writes the ACK for the answer and goes on
// with the next frame at once.
class ReferenceLoop {
  public:
    bool open(const std::string& path, int baud, std::string& error);

    Measurement reads(int baud, int count);
    Measurement writes(int baud, int count);

  private:
    bool writeAll(const uint8_t* data, size_t count);
    // Reads until `count` bytes of the reply are in; false on a time-out.
    bool readReply(uint8_t* reply, size_t count);
    bool readExchange();
    bool writeExchange(int value);

    TtyDevice device_;
};

}  // namespace zr::bench
