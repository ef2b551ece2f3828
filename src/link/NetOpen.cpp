#include "link/NetOpen.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>

#include "link/NetTransport.h"
#include "link/NetUrl.h"
#include "link/OpenMessages.h"
#include "link/Rfc2217Handshake.h"
#include "link/SerialLink.h"

namespace zr {

namespace {

using Steady = std::chrono::steady_clock;

// How long a connection and the server's answers may take: generous for a
// LAN, short enough that a host that does not answer never hangs the panel.
constexpr int kConnectLimitMs = 3000;
constexpr int kHandshakeLimitMs = 3000;

int msLeft(Steady::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - Steady::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

struct Connected {
    int fd = -1;
    std::string reason;  // why not, when fd < 0
};

std::string errnoReason(int error) {
    if (error == ECONNREFUSED) return "refused the connection";
    if (error == ETIMEDOUT) return "did not answer within 3 s";
    if (error == ENETUNREACH || error == EHOSTUNREACH) return "cannot be reached";
    return std::string("could not be reached (") + std::strerror(error) + ")";
}

// Tries each address of the host in turn, all within kConnectLimitMs.
Connected connectTo(const NetUrl& url) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(url.port);
    if (::getaddrinfo(url.host.c_str(), port.c_str(), &hints, &found) != 0 || !found)
        return {-1, "names a host that is not known"};
    std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, &::freeaddrinfo);

    const auto deadline = Steady::now() + std::chrono::milliseconds(kConnectLimitMs);
    int lastError = ETIMEDOUT;
    for (const addrinfo* a = found; a; a = a->ai_next) {
        const int fd =
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        int error = 0;
        if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            error = errno;
            if (error == EINPROGRESS) {
                pollfd p{fd, POLLOUT, 0};
                const int ready = ::poll(&p, 1, msLeft(deadline));
                socklen_t size = sizeof error;
                if (ready <= 0)
                    error = ETIMEDOUT;
                else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
                    error = errno;
            }
        }
        if (error == 0) {
            // Frames are small and each waits for its reply.
            const int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            return {fd, {}};
        }
        ::close(fd);
        lastError = error;
        if (msLeft(deadline) == 0) break;
    }
    return {-1, errnoReason(lastError)};
}

// Sets the line through the COM port option. On success the decoder holds
// what the server said so far, for the transport to go on with.
bool setLine(int fd, int baud, telnet::Decoder& decoder, std::string& reason, uint32_t& kept) {
    Rfc2217Handshake handshake(static_cast<uint32_t>(baud));
    const std::vector<uint8_t> hello = handshake.start();
    if (!sendAll(fd, hello.data(), hello.size(), kHandshakeLimitMs)) {
        reason = "dropped the connection";
        return false;
    }
    const auto deadline = Steady::now() + std::chrono::milliseconds(kHandshakeLimitMs);
    while (handshake.state() == Rfc2217Handshake::State::Waiting) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, msLeft(deadline)) <= 0) {
            reason = "did not answer within 3 s";
            return false;
        }
        uint8_t raw[256];
        const ssize_t n = ::recv(fd, raw, sizeof raw, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            reason = "dropped the connection";
            return false;
        }
        if (n < 0) continue;
        std::vector<uint8_t> data;  // the line is not in use yet: dropped
        std::vector<telnet::Event> events;
        decoder.feed(raw, static_cast<size_t>(n), data, events);
        for (const telnet::Event& event : events) {
            const std::vector<uint8_t> answer = handshake.onEvent(event);
            if (!answer.empty() && !sendAll(fd, answer.data(), answer.size(), kHandshakeLimitMs)) {
                reason = "dropped the connection";
                return false;
            }
        }
    }
    if (handshake.state() == Rfc2217Handshake::State::OptionRefused) {
        reason = "does not set the line: it offers no RFC 2217 (use socket:// instead)";
        return false;
    }
    kept = handshake.serverBaud();
    return handshake.state() == Rfc2217Handshake::State::Done;
}

}  // namespace

bool openNetPort(SerialLink& link, const std::string& urlText, int baud) {
    const std::optional<NetUrl> url = parseNetUrl(urlText);
    if (!url) {
        link.messages().show(OpenMessages::netPortError(
            urlText, "is not a network port (rfc2217://HOST:PORT or socket://HOST:PORT)"));
        return false;
    }
    const Connected connection = connectTo(*url);
    if (connection.fd < 0) {
        link.messages().show(OpenMessages::netPortError(url->text, connection.reason));
        return false;
    }
    telnet::Decoder decoder;
    const bool telnet = url->kind == NetUrl::Kind::Rfc2217;
    if (telnet) {
        std::string reason;
        uint32_t kept = 0;
        if (!setLine(connection.fd, baud, decoder, reason, kept)) {
            ::close(connection.fd);
            link.messages().show(
                reason.empty() ? OpenMessages::netBaudRefused(std::to_string(baud), url->text, kept)
                               : OpenMessages::netPortError(url->text, reason));
            return false;
        }
    }
    std::unique_ptr<LinkTransport> transport =
        std::make_unique<NetTransport>(connection.fd, telnet, std::move(decoder));
    if (link.startOnTransport(transport)) return true;
    ::close(connection.fd);
    return false;
}

}  // namespace zr
