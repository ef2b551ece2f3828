#include "model/CommandFrameParser.h"

#include "model/FrameCodec.h"

namespace zr::sim {

std::optional<ParsedFrame> CommandFrameParser::feed(uint8_t byte) {
    if (byte == STX) {
        buffer_.assign(1, static_cast<char>(byte));
        return std::nullopt;
    }
    if (buffer_.empty()) return std::nullopt;
    buffer_ += static_cast<char>(byte);
    if (buffer_.size() < kCommandFrameSize) return std::nullopt;

    ParsedFrame frame;
    frame.bytes = buffer_;
    frame.text = buffer_.substr(5, 10);
    const auto* raw = reinterpret_cast<const uint8_t*>(buffer_.data());
    frame.checksumOk = hexByte(frameChecksum(raw, 16)) == buffer_.substr(16, 2);
    frame.framingOk = buffer_.compare(1, 4, "00FF") == 0 && raw[15] == ETX;
    buffer_.clear();
    return frame;
}

}  // namespace zr::sim
