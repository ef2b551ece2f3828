#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "link/ComPort.h"
#include "link/LinkStatus.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "params/BulkOperations.h"
#include "params/ParamAccess.h"
#include "support/EnvVar.h"
#include "support/PassClock.h"
#include "support/PtyCamera.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"

namespace zr::test {
namespace {

namespace fs = std::filesystem;

constexpr int kVanishRow = 20;

// The serial adapter is pulled in the middle of a ReadFromCamera walk, then
// the link is closed and opened again on the adapter's new line.
class PortVanish : public ::testing::Test {
  protected:
    PortVanish()
        : sink(&clock), relay(sink), camera(clock), link(relay, clock), params(link), bulk(params) {
        // Time passes only while nothing is on its way over the line, and a
        // pass takes a real millisecond besides, since bytes in a
        // pseudo-terminal are handed on by the kernel a moment later: a slow
        // machine never makes a reply late.
        clock.setStep([this] { return !line || line->quiet() ? 1u : 0u; });
        clock.setRealSleep(std::chrono::milliseconds(1));
    }
    ~PortVanish() override {
        link.CloseLink();
        camera.setFrameObserver(nullptr);
        line.reset();
    }

    void plugIn() {
        line = std::make_unique<PtyCamera>(camera);
        const fs::path com3 = portDir.file("COM3");
        std::error_code ec;
        fs::remove(com3, ec);
        fs::create_symlink(line->slavePath(), com3);
    }

    bool tableMatchesCamera(int row) {
        const CameraParam& p = params.table()[row];
        const uint32_t reg = camera.reg(p.writeArea, p.address);
        return p.value == ParamAccess::valueFromAnswer(
                              p, {uint8_t(reg >> 16), uint8_t(reg >> 8), uint8_t(reg)});
    }

    TempDir portDir;
    EnvVar portEnv{"ZRK880_PORT_DIR", portDir.path().c_str()};
    PassClock clock;
    RecordingSink sink;
    MessageRelay relay;
    sim::CameraModel camera;
    std::unique_ptr<PtyCamera> line;
    SerialLink link;
    ParamAccess params;
    BulkOperations bulk;
};

TEST_F(PortVanish, WalkStopsAtTheAckTimeOutAndTheLinkOpensAgain) {
    // Values the camera holds that the table does not.
    for (int row = 0; row < UserParamCount; ++row) {
        const CameraParam& p = params.table()[row];
        camera.setReg(p.writeArea, p.address,
                      static_cast<uint32_t>(p.maxValue > 255 ? 0x000100 : 0x010000));
    }
    plugIn();
    ASSERT_EQ(OpenComPort(link, "COM3 9600"), 0);
    const std::string vanishText = ParamAccess::readText(params.table()[kVanishRow]);
    camera.setFrameObserver([&](const sim::ReceivedFrame& frame) {
        if (frame.text == vanishText) line->pullAfterThisRead();
    });
    const auto before = params.table();

    bulk.ReadFromCamera();

    EXPECT_TRUE(line->pulled());
    for (int row = 0; row < kVanishRow; ++row) EXPECT_TRUE(tableMatchesCamera(row)) << row;
    for (int row = kVanishRow; row < UserParamCount; ++row)
        EXPECT_EQ(params.table()[row].value, before[row].value) << row;
    // One message, when the third write of the lost frame has gone unanswered.
    ASSERT_EQ(sink.count(), 1u);
    const RecordedMessage m = sink.messages()[0];
    EXPECT_EQ(m.message.text, "There is no [ACK]");
    EXPECT_EQ(m.message.caption, "NO RESPONSE ");
    EXPECT_TRUE(m.message.systemModal);
    const auto frames = camera.frames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back().text, vanishText);
    // The camera notes a frame's tick when the kernel has passed it on, a
    // pass or two after it was written.
    EXPECT_LE(m.tick - frames.back().tick, 3 * (kAckTimeoutMs + 1));
    EXPECT_GE(m.tick - frames.back().tick, 3 * (kAckTimeoutMs + 1) - 3);
    EXPECT_TRUE(link.isOpen());

    link.CloseLink();
    EXPECT_FALSE(link.isOpen());

    // Plugged in again: a new line behind COM3.
    camera.setFrameObserver(nullptr);
    camera.clearLog();
    sink.clear();
    plugIn();
    ASSERT_EQ(OpenComPort(link, "COM3 9600"), 0);
    bulk.ReadFromCamera();
    EXPECT_EQ(sink.count(), 0u);
    EXPECT_EQ(camera.commandTexts().size(), static_cast<size_t>(UserParamCount));
    for (int row = 0; row < UserParamCount; ++row) EXPECT_TRUE(tableMatchesCamera(row)) << row;
}

}  // namespace
}  // namespace zr::test
