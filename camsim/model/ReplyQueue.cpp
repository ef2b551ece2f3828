#include "model/ReplyQueue.h"

#include <algorithm>
#include <cstring>

namespace zr::sim {

void ReplyQueue::push(uint32_t dueTick, std::string bytes) {
    if (!bytes.empty()) pieces_.push_back({dueTick, std::move(bytes)});
}

size_t ReplyQueue::take(uint32_t now, uint8_t* buffer, size_t max) {
    if (pieces_.empty() || max == 0 || !isDue(now, pieces_.front().dueTick)) return 0;
    auto& piece = pieces_.front();
    const size_t count = std::min(max, piece.bytes.size());
    std::memcpy(buffer, piece.bytes.data(), count);
    piece.bytes.erase(0, count);
    if (piece.bytes.empty()) pieces_.pop_front();
    return count;
}

uint32_t ReplyQueue::msUntilDue(uint32_t now) const {
    if (pieces_.empty() || isDue(now, pieces_.front().dueTick)) return 0;
    return pieces_.front().dueTick - now;
}

}  // namespace zr::sim
