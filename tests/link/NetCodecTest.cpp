// The pure parts of network serial ports: the URL, the telnet byte rules and
// the RFC 2217 opening talk, byte by byte.
#include <gtest/gtest.h>

#include "link/NetUrl.h"
#include "link/Rfc2217Handshake.h"
#include "link/TelnetCodec.h"

namespace zr {
namespace {

using Bytes = std::vector<uint8_t>;

struct UrlCase {
    const char* text;
    bool valid;
    NetUrl::Kind kind;
    const char* host;
    uint16_t port;
};

TEST(NetUrl, ParsesBothSchemesAndRefusesTheRest) {
    const UrlCase cases[] = {
        {"rfc2217://line7-pc:4001", true, NetUrl::Kind::Rfc2217, "line7-pc", 4001},
        {"socket://127.0.0.1:2000/", true, NetUrl::Kind::Socket, "127.0.0.1", 2000},
        {"socket://[::1]:65535", true, NetUrl::Kind::Socket, "::1", 65535},
        {"rfc2217://host", false, {}, "", 0},
        {"rfc2217://:4001", false, {}, "", 0},
        {"socket://host:0", false, {}, "", 0},
        {"socket://host:65536", false, {}, "", 0},
        {"socket://host:40x1", false, {}, "", 0},
        {"socket://ho st:4001", false, {}, "", 0},
        {"socket://[::1:4001", false, {}, "", 0},
        {"telnet://host:23", false, {}, "", 0},
        {"/dev/ttyS0", false, {}, "", 0},
    };
    for (const UrlCase& c : cases) {
        SCOPED_TRACE(c.text);
        const auto url = parseNetUrl(c.text);
        ASSERT_EQ(url.has_value(), c.valid);
        if (!c.valid) continue;
        EXPECT_EQ(url->kind, c.kind);
        EXPECT_EQ(url->host, c.host);
        EXPECT_EQ(url->port, c.port);
        EXPECT_EQ(url->text, c.text);
    }
    EXPECT_TRUE(hasNetScheme("rfc2217://host"));
    EXPECT_FALSE(hasNetScheme("COM3"));
}

TEST(Telnet, EscapesIacAndDecodesSequencesCutAnywhere) {
    EXPECT_EQ(telnet::escape(Bytes{0x02, 0xFF, 0x03}.data(), 3), (Bytes{0x02, 0xFF, 0xFF, 0x03}));
    // Data with a doubled IAC, a negotiation, a COM port reply (baud 9600
    // with an escaped 0xFF byte inside) and a foreign sub-negotiation.
    const Bytes stream = {0x06, 0xFF, 0xFF, 0x41, 0xFF, 0xFB, 0x01, 0xFF, 0xFA, 0x2C, 0x65,
                          0x00, 0x00, 0x25, 0x80, 0xFF, 0xF0, 0xFF, 0xFA, 0x18, 0x01, 0xFF,
                          0xF0, 0x42, 0xFF, 0xFA, 0x2C, 0x66, 0xFF, 0xFF, 0xFF, 0xF0};
    for (size_t cut = 0; cut <= stream.size(); ++cut) {
        SCOPED_TRACE(cut);
        telnet::Decoder decoder;
        Bytes data;
        std::vector<telnet::Event> events;
        decoder.feed(stream.data(), cut, data, events);
        decoder.feed(stream.data() + cut, stream.size() - cut, data, events);
        EXPECT_EQ(data, (Bytes{0x06, 0xFF, 0x41, 0x42}));
        ASSERT_EQ(events.size(), 3u);
        EXPECT_EQ(events[0].kind, telnet::Event::Kind::Negotiation);
        EXPECT_EQ(events[0].verb, telnet::WILL);
        EXPECT_EQ(events[0].option, 1);
        EXPECT_EQ(events[1].kind, telnet::Event::Kind::ComPortReply);
        EXPECT_EQ(events[1].command, 101);
        EXPECT_EQ(events[1].value, (Bytes{0x00, 0x00, 0x25, 0x80}));
        EXPECT_EQ(events[2].command, 102);
        EXPECT_EQ(events[2].value, (Bytes{0xFF}));
    }
}

telnet::Event negotiationEvent(uint8_t verb, uint8_t option) {
    return {telnet::Event::Kind::Negotiation, verb, option, 0, {}};
}

telnet::Event baudReply(uint32_t baud) {
    return {telnet::Event::Kind::ComPortReply, 0, 0, 101,
            Bytes{uint8_t(baud >> 24), uint8_t(baud >> 16), uint8_t(baud >> 8), uint8_t(baud)}};
}

TEST(Rfc2217Handshake, AsksForTheLineOnceTheServerTakesTheOption) {
    Rfc2217Handshake h(115200);
    EXPECT_EQ(h.start(), (Bytes{0xFF, 0xFB, 0x00, 0xFF, 0xFD, 0x00, 0xFF, 0xFB, 0x03, 0xFF, 0xFD,
                                0x03, 0xFF, 0xFB, 0x2C}));
    // An option nobody offered is refused; an acknowledgement is not answered.
    EXPECT_EQ(h.onEvent(negotiationEvent(telnet::DO, 1)), (Bytes{0xFF, 0xFC, 0x01}));
    EXPECT_EQ(h.onEvent(negotiationEvent(telnet::WILL, 5)), (Bytes{0xFF, 0xFE, 0x05}));
    EXPECT_TRUE(h.onEvent(negotiationEvent(telnet::DO, 0)).empty());
    // 115200 = 0x0001C200; then 8 data bits, no parity, one stop bit, no
    // flow control.
    EXPECT_EQ(h.onEvent(negotiationEvent(telnet::DO, 44)),
              (Bytes{0xFF, 0xFA, 0x2C, 0x01, 0x00, 0x01, 0xC2, 0x00, 0xFF, 0xF0, 0xFF, 0xFA, 0x2C,
                     0x02, 0x08, 0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0x03, 0x01, 0xFF, 0xF0, 0xFF, 0xFA,
                     0x2C, 0x04, 0x01, 0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0x05, 0x01, 0xFF, 0xF0}));
    EXPECT_TRUE(h.onEvent(negotiationEvent(telnet::DO, 44)).empty());
    EXPECT_EQ(h.state(), Rfc2217Handshake::State::Waiting);
    h.onEvent(baudReply(115200));
    EXPECT_EQ(h.state(), Rfc2217Handshake::State::Done);
}

TEST(Rfc2217Handshake, ARefusedOptionOrSpeedEndsIt) {
    Rfc2217Handshake refused(9600);
    refused.onEvent(negotiationEvent(telnet::DONT, 44));
    EXPECT_EQ(refused.state(), Rfc2217Handshake::State::OptionRefused);

    Rfc2217Handshake kept(115200);
    kept.onEvent(negotiationEvent(telnet::DO, 44));
    kept.onEvent(baudReply(9600));
    EXPECT_EQ(kept.state(), Rfc2217Handshake::State::SpeedRefused);
    EXPECT_EQ(kept.serverBaud(), 9600u);
}

}  // namespace
}  // namespace zr
