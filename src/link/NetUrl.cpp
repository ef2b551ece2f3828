#include "link/NetUrl.h"

#include <charconv>

namespace zr {

namespace {

constexpr std::string_view kRfc2217 = "rfc2217://";
constexpr std::string_view kSocket = "socket://";

bool hostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

}  // namespace

bool hasNetScheme(std::string_view text) {
    return text.starts_with(kRfc2217) || text.starts_with(kSocket);
}

std::optional<NetUrl> parseNetUrl(std::string_view text) {
    NetUrl url;
    url.text = std::string(text);
    std::string_view rest;
    if (text.starts_with(kRfc2217)) {
        url.kind = NetUrl::Kind::Rfc2217;
        rest = text.substr(kRfc2217.size());
    } else if (text.starts_with(kSocket)) {
        url.kind = NetUrl::Kind::Socket;
        rest = text.substr(kSocket.size());
    } else {
        return std::nullopt;
    }
    // An optional trailing slash, as people type URLs.
    if (rest.ends_with('/')) rest.remove_suffix(1);
    size_t colon = 0;
    if (rest.starts_with('[')) {
        const size_t close = rest.find(']');
        if (close == std::string_view::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
            return std::nullopt;
        url.host = std::string(rest.substr(1, close - 1));
        colon = close + 1;
        for (char c : url.host)
            if (!(c == ':' || c == '.' || hostCharacter(c))) return std::nullopt;
    } else {
        colon = rest.rfind(':');
        if (colon == std::string_view::npos) return std::nullopt;
        url.host = std::string(rest.substr(0, colon));
        for (char c : url.host)
            if (!hostCharacter(c)) return std::nullopt;
    }
    if (url.host.empty()) return std::nullopt;
    const std::string_view portText = rest.substr(colon + 1);
    unsigned port = 0;
    const char* end = portText.data() + portText.size();
    const auto [stop, error] = std::from_chars(portText.data(), end, port);
    if (portText.empty() || error != std::errc() || stop != end || port == 0 || port > 65535)
        return std::nullopt;
    url.port = static_cast<uint16_t>(port);
    return url;
}

}  // namespace zr
