#include "ExchangeTracker.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace zr::test {

namespace {

constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr size_t kFrameSize = 18;
constexpr int kMaxFrames = 3;  // the first send and two resends

int hexByte(std::string_view text, size_t at) {
    auto digit = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return 0;
    };
    return digit(text[at]) << 4 | digit(text[at + 1]);
}

uint16_t keyOf(const std::string& text) {
    return static_cast<uint16_t>((hexByte(text, 0) & 0x7F) << 8 | hexByte(text, 2));
}

bool isRead(const std::string& text) {
    return (hexByte(text, 0) & 0x80) != 0;
}

}  // namespace

void ExchangeTracker::attach(SerialLink& link, std::function<void(const TraceEvent&)> forward) {
    link.setTrace([this, forward = std::move(forward)](const TraceEvent& e) {
        if (e.kind == TraceEvent::Kind::Sent || e.kind == TraceEvent::Kind::Received)
            onBytes(e.kind == TraceEvent::Kind::Sent, e.data, e.count);
        if (forward) forward(e);
    });
}

ExchangeTracker::Known ExchangeTracker::known(uint8_t area, uint8_t address) {
    std::lock_guard lock(mutex_);
    auto it = registers_.find(static_cast<uint16_t>((area & 0x7F) << 8 | address));
    return it == registers_.end() ? Known{} : it->second;
}

void ExchangeTracker::forgetAll() {
    std::lock_guard lock(mutex_);
    registers_.clear();
    text_.clear();
}

bool ExchangeTracker::replied() {
    std::lock_guard lock(mutex_);
    return replied_;
}

std::string ExchangeTracker::lastExchange() {
    std::lock_guard lock(mutex_);
    return text_ + (replied_ ? " replied" : " unanswered") + " frames=" + std::to_string(frames_);
}

void ExchangeTracker::onBytes(bool sent, const uint8_t* data, size_t count) {
    std::lock_guard lock(mutex_);
    if (dump_) {
        std::string line = std::to_string(clock_.tickMs()) + (sent ? " > " : " < ");
        for (size_t i = 0; i < count; ++i) {
            const char c = static_cast<char>(data[i]);
            line += c >= 0x20 && c < 0x7F ? std::string(1, c) : "<" + std::to_string(data[i]) + ">";
        }
        std::fprintf(stderr, "%s\n", line.c_str());
    }
    if (sent && count == kFrameSize) {
        lastFrameTick_.store(clock_.tickMs());
        begin(std::string(reinterpret_cast<const char*>(data) + 5, 10));
        return;
    }
    if (text_.empty()) return;
    for (size_t i = 0; i < count; ++i) {
        if (sent) {
            // The link's ACK to an answer frame: the answer was accepted.
            if (data[i] == kAck && isRead(text_)) {
                if (replied_ && !lateAnswer_) {
                    acknowledge();
                } else if (!replied_) {
                    ++answersBeforeAck_;
                    lateAnswer_ = true;
                    registers_[keyOf(text_)] = Known{};
                }
            }
        } else if (!replied_ && (data[i] == kAck || data[i] == kNak)) {
            replied_ = true;
            if (data[i] == kAck && !isRead(text_)) acknowledge();
        }
    }
}

void ExchangeTracker::begin(const std::string& text) {
    // A resend repeats the text of an exchange that got no reply yet.
    if (text == text_ && !replied_ && frames_ < kMaxFrames) {
        ++frames_;
        return;
    }
    text_ = text;
    frames_ = 1;
    replied_ = false;
    lateAnswer_ = false;
    tracked_ = !untracked_.load();
    registers_[keyOf(text)] = Known{};
}

void ExchangeTracker::acknowledge() {
    if (!tracked_) return;
    const uint16_t key = keyOf(text_);
    registers_[key] =
        Known{camera_.reg(static_cast<uint8_t>(key >> 8), static_cast<uint8_t>(key)), true};
}

}  // namespace zr::test
