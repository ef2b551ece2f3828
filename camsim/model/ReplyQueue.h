#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace zr::sim {

// Bytes on their way to the host, in pieces: one read never returns more
// than one piece, and a piece is readable only from its due tick on. Pieces
// leave in order, so a later piece never overtakes a delayed one.
class ReplyQueue {
  public:
    void push(uint32_t dueTick, std::string bytes);
    // Copies up to `max` bytes of the first piece if it is due at `now`.
    size_t take(uint32_t now, uint8_t* buffer, size_t max);
    bool empty() const { return pieces_.empty(); }
    // Milliseconds until the first piece is due (0 when due or empty).
    uint32_t msUntilDue(uint32_t now) const;

  private:
    struct Piece {
        uint32_t dueTick;
        std::string bytes;
    };
    static bool isDue(uint32_t now, uint32_t due) { return static_cast<int32_t>(now - due) >= 0; }
    std::deque<Piece> pieces_;
};

}  // namespace zr::sim
