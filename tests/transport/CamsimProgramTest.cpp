#include <sys/stat.h>

#include <memory>

#include "TransportFixture.h"
#include "link/ComPort.h"
#include "link/LinkStatus.h"
#include "link/SystemClock.h"
#include "support/FileText.h"

namespace zr::test {
namespace {

// The simulated camera program serving its own pseudo-terminal, reached
// through the port directory as a user would reach it.
class CamsimProgramTest : public ::testing::Test {
  protected:
    CamsimProgramTest()
        : clock(SystemClock::instance()), sink(&clock), relay(sink), link(relay, clock) {}
    ~CamsimProgramTest() override {
        link.CloseLink();
        stop();
    }

    // Starts the program on COM<n> and waits until it reports its terminal.
    bool start(int n) {
        camsim = std::make_unique<CamsimProcess>(
            ports.path(), n, std::vector<std::string>{"--log", ports.path() + "/camsim.log"});
        return camsim->ready();
    }
    void stop() { camsim.reset(); }

    std::string logged() const { return readFile(ports.path() + "/camsim.log"); }

    PortDir ports;
    std::unique_ptr<CamsimProcess> camsim;
    Clock& clock;
    RecordingSink sink;
    MessageRelay relay;
    SerialLink link;
};

TEST_F(CamsimProgramTest, ExchangesWithTheProgramThroughItsPortEntry) {
    ports.remove(4);
    ASSERT_TRUE(start(4));
    EXPECT_TRUE(eventually([&] {
        struct stat info {};
        return lstat(ports.entry(4).c_str(), &info) == 0;
    }));

    EnumerateComPorts(link);
    EXPECT_EQ(link.comPorts()[0], 4);
    EXPECT_EQ(link.comPorts()[1], -1);

    ASSERT_EQ(OpenComPort(link, " COM4  115200"), 0);
    EXPECT_TRUE(runExchange(link, "0108050000") & LS_ACK);
    EXPECT_TRUE(runExchange(link, "8108000000") & LS_ANSWER_OK);
    EXPECT_EQ(link.TakeAnswer({9, 9, 9}), (AnswerBytes{0x05, 0x00, 0x00}));
    EXPECT_TRUE(eventually([&] { return logged() == "0108050000\n8108000000\n"; })) << logged();
    EXPECT_EQ(sink.count(), 0u);

    link.CloseLink();
    stop();
    struct stat info {};
    EXPECT_NE(lstat(ports.entry(4).c_str(), &info), 0);
}

}  // namespace
}  // namespace zr::test
