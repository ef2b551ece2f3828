#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include "TransportFixture.h"
#include "link/ClOpen.h"
#include "link/ComPort.h"
#include "link/LinkStatus.h"

namespace zr::test {
namespace {

const std::string kShutterFrame =
    frameBytes({0x02, 0x30, 0x30, 0x46, 0x46, 0x30, 0x31, 0x30, 0x38, 0x30, 0x35, 0x30, 0x30, 0x30,
                0x30, 0x03, 0x32, 0x30});

class ComPortTest : public PtyLinkTest {};

TEST_F(ComPortTest, OpensAndExchangesFramesOverThePseudoTerminal) {
    EXPECT_EQ(OpenComPort(link, "COM3 9600"), 0);
    ASSERT_TRUE(link.isOpen());
    EXPECT_TRUE(shown().empty());

    EXPECT_TRUE(runExchange(link, "0108050000") & LS_ACK);
    ASSERT_FALSE(camera.frames().empty());
    EXPECT_EQ(camera.frames().back().bytes, kShutterFrame);

    camera.setReg(0x01, 0x08, 0x12AB00);
    EXPECT_TRUE(runExchange(link, "8108000000") & LS_ANSWER_OK);
    EXPECT_EQ(link.TakeAnswer({9, 9, 9}), (AnswerBytes{0x12, 0xAB, 0x00}));
    EXPECT_TRUE(eventually([&] { return !camera.hostReplies().empty(); }));
    EXPECT_EQ(camera.hostReplies(), std::vector<uint8_t>{ACK});
    EXPECT_TRUE(shown().empty());
}

TEST_F(ComPortTest, DeviceByPathOpensTheSameWay) {
    EXPECT_EQ(OpenComDevice(link, pty.slavePath(), "19200"), 0);
    termios line{};
    ASSERT_EQ(tcgetattr(pty.spareSlave(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), B19200);
    EXPECT_TRUE(terminalExclusive(pty.spareSlave()));
    EXPECT_TRUE(runExchange(link, "0108050000") & LS_ACK);
    link.CloseLink();

    EXPECT_EQ(OpenComDevice(link, ports.path() + "/absent", "9600"), 1);
    EXPECT_EQ(shown(), std::vector<std::string>{"Port Open Error|Error"});
}

TEST_F(ComPortTest, LineIsRaw8N1AtTheRateWithOtherSettingsAsRead) {
    termios before{};
    ASSERT_EQ(tcgetattr(pty.spareSlave(), &before), 0);
    before.c_cflag |= PARENB | CSTOPB;
    before.c_cc[VEOF] = 0x07;
    before.c_cc[VKILL] = 0x0B;
    before.c_cc[VMIN] = 5;
    before.c_cc[VTIME] = 3;
    ASSERT_EQ(tcsetattr(pty.spareSlave(), TCSANOW, &before), 0);

    ASSERT_EQ(OpenComPort(link, "COM3 115200"), 0);
    termios line{};
    ASSERT_EQ(tcgetattr(pty.spareSlave(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), B115200);
    EXPECT_EQ(cfgetispeed(&line), B115200);
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(line.c_iflag & (ICRNL | IXON | IXOFF | ISTRIP | INLCR | IGNCR), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_EQ(line.c_cc[VMIN], 0);
    EXPECT_EQ(line.c_cc[VTIME], 0);
    EXPECT_EQ(line.c_cc[VEOF], 0x07);
    EXPECT_EQ(line.c_cc[VKILL], 0x0B);
}

TEST_F(ComPortTest, BlanksAndLetterCaseInThePortTextDoNotMatter) {
    for (const char* text : {"  COM3 9600", "COM3     9600", "\t COM3 \t 9600  ", "com3 9600"}) {
        SCOPED_TRACE(text);
        camera.clearLog();
        ASSERT_EQ(OpenComPort(link, text), 0);
        EXPECT_TRUE(runExchange(link, "0108050000") & LS_ACK);
        ASSERT_EQ(camera.frames().size(), 1u);
        EXPECT_EQ(camera.frames()[0].bytes, kShutterFrame);
        link.CloseLink();
    }
    EXPECT_TRUE(shown().empty());
}

TEST_F(ComPortTest, PortHeldByAnotherProgramGivesPortOpenError) {
    const int other = ::open(ports.entry(3).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);

    EXPECT_EQ(OpenComPort(link, "COM3 9600"), 1);
    EXPECT_FALSE(link.isOpen());
    ASSERT_EQ(sink.count(), 1u);
    const Message m = sink.messages()[0].message;
    EXPECT_EQ(m.text, "Port Open Error");
    EXPECT_EQ(m.caption, "Error");
    EXPECT_EQ(m.icon, MsgIcon::Error);
    EXPECT_EQ(m.owner, nullptr);
    EXPECT_EQ(camera.frames().size(), 0u);

    ::close(other);
    EXPECT_EQ(OpenComPort(link, "COM3 9600"), 0);
    EXPECT_TRUE(runExchange(link, "0108050000") & LS_ACK);
}

TEST_F(ComPortTest, PortsWithoutADeviceGivePortOpenError) {
    for (const char* text : {"COM4 9600", "COM11 9600", "COM0 9600", "COM256 9600", "LPT1 9600",
                             "/dev/ttyS0 9600", "COM03 9600", " 9600"}) {
        SCOPED_TRACE(text);
        sink.clear();
        EXPECT_EQ(OpenComPort(link, text), 1);
        EXPECT_FALSE(link.isOpen());
        EXPECT_EQ(shown(), std::vector<std::string>{"Port Open Error|Error"});
    }
}

TEST_F(ComPortTest, UnknownBaudRateIsRefusedBeforeTheDeviceIsTouched) {
    const int before = openDescriptorCount();
    const std::pair<const char*, const char*> cases[] = {
        {"COM3 12345", "Baud rate \"12345\" is not supported."},
        {"COM3", "Baud rate \"\" is not supported."},
        {"COM3 96OO", "Baud rate \"96OO\" is not supported."},
        {"COM3 -9600", "Baud rate \"-9600\" is not supported."},
        {"COM3 0", "Baud rate \"0\" is not supported."},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(text);
        sink.clear();
        EXPECT_EQ(OpenComPort(link, text), 1);
        EXPECT_FALSE(link.isOpen());
        ASSERT_EQ(sink.count(), 1u);
        EXPECT_EQ(sink.messages()[0].message.text, message);
        EXPECT_EQ(sink.messages()[0].message.caption, "Error");
        EXPECT_EQ(sink.messages()[0].message.icon, MsgIcon::Error);
    }
    EXPECT_EQ(openDescriptorCount(), before);
    EXPECT_TRUE(lockableByOthers(ports.entry(3)));
    EXPECT_FALSE(terminalExclusive(pty.spareSlave()));
}

TEST_F(ComPortTest, DeviceWithoutLineSettingsIsReleasedSilently) {
    ports.link(5, ports.writeFile("not-a-tty", "x"));
    const int before = openDescriptorCount();
    EXPECT_EQ(OpenComPort(link, "COM5 9600"), 1);
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(sink.count(), 0u);
    EXPECT_EQ(openDescriptorCount(), before);
    EXPECT_TRUE(lockableByOthers(ports.entry(5)));
}

TEST_F(ComPortTest, PortIsExclusiveWhileOpenAndFreeAfterClose) {
    ASSERT_EQ(OpenComPort(link, "COM3 9600"), 0);
    EXPECT_TRUE(terminalExclusive(pty.spareSlave()));
    EXPECT_FALSE(lockableByOthers(ports.entry(3)));

    link.CloseLink();
    EXPECT_TRUE(lockableByOthers(ports.entry(3)));
    // A pseudo-terminal keeps exclusive mode past the close unless it is
    // given up; a later non-root opener would then be refused.
    EXPECT_FALSE(terminalExclusive(pty.spareSlave()));
}

TEST_F(ComPortTest, CloseAndReopenLeavesNoDescriptorBehind) {
    const int before = openDescriptorCount();
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(OpenComPort(link, "COM3 9600"), 0);
        EXPECT_TRUE(runExchange(link, "0108050000") & LS_ACK);
        link.CloseLink();
        EXPECT_FALSE(link.isOpen());
    }
    EXPECT_EQ(openDescriptorCount(), before);
    EXPECT_EQ(camera.frames().size(), 3u);
    EXPECT_TRUE(shown().empty());
}

TEST_F(ComPortTest, OpeningAnOpenLinkIsRefusedAndLeavesTheExchangeAlone) {
    ASSERT_EQ(OpenComPort(link, "COM3 9600"), 0);
    // An exchange in flight: the camera stays silent, so the ACK is awaited.
    camera.updateFaults([](sim::FaultSettings& f) { f.silent = true; });
    link.clearStatus();
    ASSERT_EQ(link.SendCommand("0108050000"), 0);
    while (!link.awaitingAck()) link.waitLinkEventFor(1);

    EXPECT_EQ(OpenComPort(link, "COM3 9600"), 1);
    EXPECT_EQ(OpenBoardLibrary(link, "/nowhere/clsermtx.dll"), 1);
    EXPECT_EQ(OpenClAllSerial(link, 1), 0);
    const std::string refusal = "PORT is already open. Close it first.|Port ERROR";
    EXPECT_EQ(shown(), (std::vector<std::string>{refusal, refusal, refusal}));
    EXPECT_TRUE(link.isOpen());
    EXPECT_TRUE(link.awaitingAck());

    // The exchange goes on over the first transport: the resend is answered.
    camera.updateFaults([](sim::FaultSettings& f) { f.silent = false; });
    uint32_t seen = 0;
    for (int i = 0; i < 400 && !(seen & (LS_ACK | LS_ACK_TIMEOUT)); ++i) {
        link.waitLinkEventFor(50);
        seen |= link.fetchAndClearStatus();
    }
    EXPECT_EQ(seen & (LS_ACK | LS_ACK_TIMEOUT), LS_ACK);
    EXPECT_EQ(shown().size(), 3u);
}

}  // namespace
}  // namespace zr::test
