#include <cstdio>

#include "TransportFixture.h"
#include "link/ClOpen.h"
#include "link/ComPort.h"
#include "link/LinkStatus.h"
#include "support/FileText.h"

namespace zr::test {
namespace {

// One link, one transport at a time: after a close, the next opening's
// transport alone carries the frames.
class SwitchTest : public PtyLinkTest {
  protected:
    SwitchTest()
        : searchPath("ZRK880_CL_PATH", makerLibraryDir().c_str()),
          frameLog("ZR_SIM_CL_LOG", (ports.path() + "/library-frames.log").c_str()) {}

    std::string libraryFrames() const { return readFile(ports.path() + "/library-frames.log"); }

    EnvVar searchPath;
    EnvVar frameLog;
};

TEST_F(SwitchTest, MakersLibraryThenComPort) {
    ASSERT_EQ(OpenBoardLibrary(link, "clsertest.dll"), 0);
    EXPECT_TRUE(runExchange(link, "0108050000") & LS_ACK);
    link.CloseLink();

    ASSERT_EQ(OpenComPort(link, "COM3 9600"), 0);
    EXPECT_TRUE(runExchange(link, "0108060000") & LS_ACK);
    camera.setReg(0x01, 0x08, 0x0A0B0C);
    EXPECT_TRUE(runExchange(link, "8108000000") & LS_ANSWER_OK);
    EXPECT_EQ(link.TakeAnswer({0, 0, 0}), (AnswerBytes{0x0A, 0x0B, 0x0C}));

    EXPECT_EQ(libraryFrames(), "0108050000\n");
    EXPECT_EQ(camera.commandTexts(), (std::vector<std::string>{"0108060000", "8108000000"}));
    EXPECT_EQ(sink.count(), 0u);
}

}  // namespace
}  // namespace zr::test
