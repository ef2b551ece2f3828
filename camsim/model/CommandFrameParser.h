#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zr::sim {

// A command frame as assembled from the line.
struct ParsedFrame {
    std::string bytes;  // the 18 bytes
    std::string text;   // the 10 command characters
    bool checksumOk = false;
    bool framingOk = false;  // header "00FF" and ETX in their places
};

// Assembles command frames byte by byte, so a frame may come in any number of
// pieces. An STX always starts a new frame: a frame never carries one, so a
// torn frame is dropped at the next STX instead of swallowing it.
class CommandFrameParser {
  public:
    // Feeds one byte; returns the frame that it completed, if any. Bytes
    // outside a frame are left to the caller (`inFrame()` is false for them).
    std::optional<ParsedFrame> feed(uint8_t byte);
    bool inFrame() const { return !buffer_.empty(); }

  private:
    std::string buffer_;
};

}  // namespace zr::sim
