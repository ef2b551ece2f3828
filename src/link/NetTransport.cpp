#include "link/NetTransport.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace zr {

namespace {

// Upper bound for one write to a connection whose send buffer is full.
constexpr int kNetWriteLimitMs = 1000;

bool agreed(uint8_t option) {
    return option == telnet::kBinary || option == telnet::kSuppressGoAhead ||
           option == telnet::kComPort;
}

}  // namespace

bool sendAll(int fd, const uint8_t* data, size_t count, int limitMs) {
    size_t done = 0;
    int waited = 0;
    while (done < count) {
        const ssize_t n = ::send(fd, data + done, count - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (waited >= limitMs) return false;
        pollfd p{fd, POLLOUT, 0};
        constexpr int kStepMs = 50;
        if (::poll(&p, 1, kStepMs) > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)))
            return false;
        waited += kStepMs;
    }
    return true;
}

uint32_t NetTransport::read(uint8_t* buffer, uint32_t count) {
    if (fd_ < 0 || count == 0) return 0;
    std::vector<uint8_t> raw(count);
    const ssize_t n = ::recv(fd_, raw.data(), count, MSG_DONTWAIT);
    // Nothing there, a closed connection (0) and an error all read as no
    // bytes; after the last two there is nothing to wait for.
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
        ended_ = true;
    if (n <= 0) return 0;
    if (!telnet_) {
        std::memcpy(buffer, raw.data(), static_cast<size_t>(n));
        return static_cast<uint32_t>(n);
    }
    // Decoding never makes more bytes than it is given.
    std::vector<uint8_t> data;
    std::vector<telnet::Event> events;
    decoder_.feed(raw.data(), static_cast<size_t>(n), data, events);
    for (const telnet::Event& event : events) refuse(event);
    std::memcpy(buffer, data.data(), data.size());
    return static_cast<uint32_t>(data.size());
}

// The server may ask for more options at any time; all but the ones agreed
// at the opening are refused (once each: a refusal is not answered again).
void NetTransport::refuse(const telnet::Event& event) {
    if (event.kind != telnet::Event::Kind::Negotiation || agreed(event.option)) return;
    uint8_t answer = 0;
    if (event.verb == telnet::DO) answer = telnet::WONT;
    if (event.verb == telnet::WILL) answer = telnet::DONT;
    if (answer == 0) return;
    const auto bytes = telnet::negotiation(answer, event.option);
    sendAll(fd_, bytes.data(), bytes.size(), kNetWriteLimitMs);
}

void NetTransport::write(const uint8_t* data, uint32_t count, uint32_t /*timeoutMs*/) {
    if (fd_ < 0) return;
    if (!telnet_) {
        sendAll(fd_, data, count, kNetWriteLimitMs);
        return;
    }
    const std::vector<uint8_t> escaped = telnet::escape(data, count);
    sendAll(fd_, escaped.data(), escaped.size(), kNetWriteLimitMs);
}

void NetTransport::close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

}  // namespace zr
