#include "ReferenceLoop.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/FrameCodec.h"
#include "link/LinkStatus.h"
#include "params/ParamAccess.h"

namespace zr::bench {

namespace {

// Far beyond any reply of a healthy camera; only ends a run that went wrong.
constexpr int kReplyLimitMs = 5000;
// The bench's register, in the texts the link's runs send for it; built once
// so the loop itself spends nothing on them.
const std::string& readText() {
    static const std::string text = ParamAccess::readText(CameraParamTable::defaults()[kBenchRow]);
    return text;
}
const std::string& writeText(int i) {
    static const std::string texts[] = {
        ParamAccess::writeText(CameraParamTable::defaults()[kBenchRow], benchWriteValue(0)),
        ParamAccess::writeText(CameraParamTable::defaults()[kBenchRow], benchWriteValue(1))};
    return texts[i % 2];
}

// Calls `io(done)` (a read or a write of what is left) until `count` bytes
// have moved, waiting in poll() for `events` while the device is not ready;
// false on an error, a hang-up or a time-out.
template <class Io>
bool moveAll(int fd, size_t count, short events, Io io) {
    size_t done = 0;
    while (done < count) {
        const ssize_t n = io(done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return false;
        pollfd p{fd, events, 0};
        if (::poll(&p, 1, kReplyLimitMs) <= 0 || (p.revents & (POLLHUP | POLLERR))) return false;
    }
    return true;
}

}  // namespace

bool ReferenceLoop::open(const std::string& path, int baud, std::string& error) {
    if (device_.open(path) == TtyDevice::OpenResult::Opened && device_.setRawLine(baud))
        return true;
    error = "the reference loop could not open " + path + ": " + std::strerror(device_.error());
    return false;
}

bool ReferenceLoop::writeAll(const uint8_t* data, size_t count) {
    return moveAll(device_.fd(), count, POLLOUT,
                   [&](size_t done) { return ::write(device_.fd(), data + done, count - done); });
}

bool ReferenceLoop::readReply(uint8_t* reply, size_t count) {
    return moveAll(device_.fd(), count, POLLIN,
                   [&](size_t done) { return ::read(device_.fd(), reply + done, count - done); });
}

bool ReferenceLoop::readExchange() {
    const CommandFrameBytes frame = buildCommandFrame(readText());
    if (!writeAll(frame.data(), frame.size())) return false;
    uint8_t reply[1 + kAnswerFrameSize];
    if (!readReply(reply, sizeof reply)) return false;
    if (reply[0] != ACK || reply[1] != STX) return false;
    const uint8_t sum = frameChecksum(reply + 1, 8);
    const bool good =
        static_cast<uint8_t>(hexDigitValue(reply[9]) * 16 + hexDigitValue(reply[10])) == sum;
    return writeAll(&ACK, 1) && good;
}

bool ReferenceLoop::writeExchange(int value) {
    const CommandFrameBytes frame = buildCommandFrame(writeText(value));
    if (!writeAll(frame.data(), frame.size())) return false;
    uint8_t reply = 0;
    return readReply(&reply, 1) && reply == ACK;
}

Measurement ReferenceLoop::reads(int baud, int count) {
    Measurement m{"reference loop read", baud, kReadBytes};
    timeExchanges(m, count, [this](int) { return readExchange(); });
    return m;
}

Measurement ReferenceLoop::writes(int baud, int count) {
    Measurement m{"reference loop write", baud, kWriteBytes};
    timeExchanges(m, count, [this](int i) { return writeExchange(i); });
    return m;
}

}  // namespace zr::bench
