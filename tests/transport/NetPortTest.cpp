// Network serial ports against Debian's ser2net, started on the loopback
// address in front of the simulated camera's pseudo-terminal: both modes
// reached through a COMn entry holding the URL, a server that does not speak
// RFC 2217 and a port nobody listens on, and a connection dropped mid-walk.
#include <algorithm>
#include <atomic>
#include <string>

#include "TransportFixture.h"
#include "link/ComPort.h"
#include "link/LinkStatus.h"
#include "params/BulkOperations.h"
#include "params/ParamAccess.h"
#include "pty/Ser2netProcess.h"
#include "support/SimLinkFixture.h"

namespace zr::test {
namespace {

// The three servers, in this order, in front of the same camera.
enum Server { Rfc2217, RawTcp, PlainTelnet };

class NetPort : public PtyLinkTest {
  protected:
    NetPort() : ser2net(pty.slavePath(), {"telnet(rfc2217)", "tcp", "telnet"}) {}
    void SetUp() override { ASSERT_TRUE(ser2net.ready()) << ser2net.log(); }
    ~NetPort() override { camera.setFrameObserver(nullptr); }

    std::string url(const char* scheme, Server server) {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(ser2net.port(server));
    }

    sim::Ser2netProcess ser2net;
    ParamAccess params{link};
    BulkOperations bulk{params};
};

struct ModeCase {
    const char* scheme;
    Server server;
};

class NetPortModes : public NetPort, public ::testing::WithParamInterface<ModeCase> {};
INSTANTIATE_TEST_SUITE_P(Both, NetPortModes,
                         ::testing::Values(ModeCase{"rfc2217", Rfc2217},
                                           ModeCase{"socket", RawTcp}));

// COM5 is a small text file holding the URL: the panel's COM 5 reaches the
// camera through the server, and a whole read walk comes back right.
TEST_P(NetPortModes, AComEntryHoldingTheUrlCarriesAReadWalk) {
    ports.remove(5);
    ports.writeFile("COM5", "  " + url(GetParam().scheme, GetParam().server) + "\n");
    EnumerateComPorts(link);
    const auto& listed = link.comPorts();
    EXPECT_NE(std::find(listed.begin(), listed.end(), 5), listed.end());
    ASSERT_EQ(OpenComPort(link, "COM5 115200"), 0) << ::testing::PrintToString(shown());
    setCameraRow(camera, 4, 77);
    ASSERT_TRUE(bulk.ReadFromCamera());
    EXPECT_EQ(params.table()[4].value, 77);
    EXPECT_EQ(camera.commandTexts().size(), static_cast<size_t>(UserParamCount));
    EXPECT_EQ(camera.commandTexts()[4], "8108000000");
    EXPECT_TRUE(shown().empty());
}

TEST_F(NetPort, ServersThatCannotCarryTheLineAreRefusedWithTheirReason) {
    const uint16_t deaf = sim::Ser2netProcess::freePort();
    const std::string nobody = "socket://127.0.0.1:" + std::to_string(deaf);
    const struct {
        std::string url;
        std::string shown;
    } cases[] = {
        {url("rfc2217", PlainTelnet),
         "Port Open Error: " + url("rfc2217", PlainTelnet) +
             " does not set the line: it offers no RFC 2217 (use socket:// instead).|Error"},
        {nobody, "Port Open Error: " + nobody + " refused the connection.|Error"},
        {"rfc2217://127.0.0.1",
         "Port Open Error: rfc2217://127.0.0.1 is not a network port "
         "(rfc2217://HOST:PORT or socket://HOST:PORT).|Error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        sink.clear();
        EXPECT_EQ(OpenComDevice(link, c.url, "115200"), 1);
        EXPECT_FALSE(link.isOpen());
        EXPECT_EQ(shown(), std::vector<std::string>{c.shown});
    }
}

// The server goes away in the middle of a walk: the walk stops at the
// exchange that gets no ACK, with the box a pulled adapter gives, and the
// link closes and opens again cleanly.
TEST_F(NetPort, AConnectionDroppedMidWalkEndsInTheAckTimeout) {
    ASSERT_EQ(OpenComDevice(link, url("socket", RawTcp), "115200"), 0);
    std::atomic<int> frames{0};
    camera.setFrameObserver([&](const sim::ReceivedFrame&) {
        if (++frames == 10) ser2net.kill();
    });
    EXPECT_FALSE(bulk.ReadFromCamera());
    EXPECT_EQ(shown(), std::vector<std::string>{"There is no [ACK]|NO RESPONSE "});
    EXPECT_GE(frames.load(), 10);
    EXPECT_LE(frames.load(), 11);
    link.CloseLink();
    EXPECT_FALSE(link.isOpen());
    sink.clear();
    EXPECT_EQ(OpenComDevice(link, url("socket", RawTcp), "115200"), 1);
    EXPECT_EQ(shown().size(), 1u);
}

}  // namespace
}  // namespace zr::test
