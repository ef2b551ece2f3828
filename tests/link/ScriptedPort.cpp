#include "ScriptedPort.h"

#include <algorithm>
#include <cstdio>

namespace zr::test {

ScriptedPort& ScriptedPort::instance() {
    static ScriptedPort port;
    return port;
}

ClSerialFunctions ScriptedPort::functions() {
    ClSerialFunctions f;
    f.serialRead = &ScriptedPort::read;
    f.serialWrite = &ScriptedPort::write;
    f.serialClose = &ScriptedPort::close;
    return f;
}

void ScriptedPort::reset(Clock* clock) {
    std::lock_guard lock(mutex_);
    clock_ = clock;
    chunks_.clear();
    responder_ = nullptr;
    oversized_ = false;
    noiseMs_ = 0;
    writes_.clear();
    reads_.clear();
    readCount_ = 0;
    closeCount_ = 0;
    lastClosedRef_ = nullptr;
}

void ScriptedPort::queue(Bytes chunk) {
    std::lock_guard lock(mutex_);
    chunks_.push_back(std::move(chunk));
}

void ScriptedPort::respond(Responder responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

void ScriptedPort::reportOversizedReads(bool on) {
    std::lock_guard lock(mutex_);
    oversized_ = on;
}

void ScriptedPort::noiseEvery(uint32_t ms) {
    std::lock_guard lock(mutex_);
    noiseMs_ = ms;
}

int32_t ScriptedPort::read(void* ref, int8_t* buffer, uint32_t* size, uint32_t timeoutMs) {
    ScriptedPort& p = instance();
    std::unique_lock lock(p.mutex_);
    ++p.readCount_;
    // Keep the first reads and the latest ones only: an idle worker reads a lot.
    if (p.reads_.size() < 1000) p.reads_.push_back({*size, timeoutMs, ref});
    const uint32_t room = *size;
    *size = 0;
    if (p.chunks_.empty()) {
        const uint32_t noise = p.noiseMs_;
        Clock* clock = p.clock_;
        lock.unlock();
        if (noise == 0 || clock == nullptr || room == 0) return 0;
        clock->sleepMs(noise);
        buffer[0] = 0x55;
        *size = 1;
        return 0;
    }
    Bytes& chunk = p.chunks_.front();
    const uint32_t n = std::min<uint32_t>(room, static_cast<uint32_t>(chunk.size()));
    std::copy_n(chunk.begin(), n, reinterpret_cast<uint8_t*>(buffer));
    chunk.erase(chunk.begin(), chunk.begin() + n);
    if (chunk.empty()) p.chunks_.pop_front();
    *size = p.oversized_ ? 100000 : n;
    return 0;
}

int32_t ScriptedPort::write(void* ref, int8_t* buffer, uint32_t* size, uint32_t timeoutMs) {
    ScriptedPort& p = instance();
    Bytes bytes(reinterpret_cast<uint8_t*>(buffer), reinterpret_cast<uint8_t*>(buffer) + *size);
    Responder responder;
    {
        std::lock_guard lock(p.mutex_);
        p.writes_.push_back({bytes, timeoutMs, p.clock_ ? p.clock_->tickMs() : 0, ref});
        responder = p.responder_;
    }
    if (responder) {
        for (Bytes& chunk : responder(bytes)) p.queue(std::move(chunk));
    }
    return 0;
}

void ScriptedPort::close(void* ref) {
    ScriptedPort& p = instance();
    std::lock_guard lock(p.mutex_);
    ++p.closeCount_;
    p.lastClosedRef_ = ref;
}

std::vector<ScriptedPort::Write> ScriptedPort::writes() {
    std::lock_guard lock(mutex_);
    return writes_;
}

std::vector<Bytes> ScriptedPort::frameWrites() {
    std::lock_guard lock(mutex_);
    std::vector<Bytes> out;
    for (const auto& w : writes_) {
        if (w.bytes.size() == 18) out.push_back(w.bytes);
    }
    return out;
}

std::vector<ScriptedPort::Read> ScriptedPort::reads() {
    std::lock_guard lock(mutex_);
    return reads_;
}

size_t ScriptedPort::readCount() {
    std::lock_guard lock(mutex_);
    return readCount_;
}

int ScriptedPort::closeCount() {
    std::lock_guard lock(mutex_);
    return closeCount_;
}

void* ScriptedPort::lastClosedRef() {
    std::lock_guard lock(mutex_);
    return lastClosedRef_;
}

bool ScriptedPort::queueEmpty() {
    std::lock_guard lock(mutex_);
    return chunks_.empty();
}

ScriptedPort::Responder ackingCamera(Bytes answer) {
    return [answer](const Bytes& written) -> std::vector<Bytes> {
        if (written.size() != 18) return {};
        const uint8_t first = written[5];
        const bool read = (first >= '8' && first <= '9') || (first >= 'A' && first <= 'F');
        if (read) return {{0x06}, answer};
        return {{0x06}};
    };
}

Bytes answerFrame(const char* sixDigits, int sumDelta) {
    Bytes frame{0x02};
    for (int i = 0; i < 6; ++i) frame.push_back(static_cast<uint8_t>(sixDigits[i]));
    frame.push_back(0x03);
    unsigned sum = 0;
    for (uint8_t b : frame) sum += b;
    const unsigned check = (~sum + static_cast<unsigned>(sumDelta)) & 0xFF;
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", check);
    frame.push_back(static_cast<uint8_t>(digits[0]));
    frame.push_back(static_cast<uint8_t>(digits[1]));
    return frame;
}

}  // namespace zr::test
