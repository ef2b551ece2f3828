// Bulk operations end to end: the simulated camera program on a real
// pseudo-terminal, entered as COM3 in a temporary port directory and opened
// through the COM port path, on the real clock.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "link/ComPort.h"
#include "link/SystemClock.h"
#include "params/BulkOperations.h"
#include "support/CamsimProcess.h"
#include "support/EnvVar.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"
#include "support/WireText.h"

namespace zr {
namespace {

using test::cameraValue;

TEST(BulkOverPty, WriteThenReadFromCameraThroughTheSimulatorProgram) {
    // The simulator program on COM3 in a fresh folder, logging every command text.
    test::TempDir dir;
    const std::string log = dir.file("frames.log");
    test::CamsimProcess camera(dir.path(), 3, {"--log", log, "--stdin-eof"});
    ASSERT_TRUE(camera.ready());
    test::EnvVar portDir("ZRK880_PORT_DIR", dir.path().c_str());

    test::RecordingSink sink;
    MessageRelay relay(sink);
    SerialLink link(relay, SystemClock::instance());
    ASSERT_EQ(OpenComPort(link, "COM3 9600"), 0) << testing::PrintToString(sink.texts());
    ParamAccess params(link);
    BulkOperations bulk(params);
    int refreshes = 0;
    const auto counting = params.changes().listen([&] { ++refreshes; });

    // Give the camera values that differ from the defaults, forget them here,
    // then learn them back from the camera.
    std::vector<std::string> expected;
    for (int row = 0; row < 50; ++row) {
        params.table()[row].value = cameraValue(params.table()[row]);
        expected.push_back(test::expectedWrite(params.table()[row], params.table()[row].value));
    }
    bulk.WriteToCamera();
    for (int row = 0; row < 50; ++row) {
        params.table()[row].value = CameraParamTable::defaults()[row].value;
    }
    bulk.ReadFromCamera();
    link.CloseLink();

    for (int row = 0; row < 50; ++row) {
        EXPECT_EQ(params.table()[row].value, cameraValue(params.table()[row])) << "row " << row;
    }
    EXPECT_EQ(params.table()[50].value, 0);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(sink.count(), 0u) << testing::PrintToString(sink.texts());
    // Every frame arrived with a good checksum (no " BAD" mark), in order.
    for (int row = 0; row < UserParamCount; ++row) {
        expected.push_back(test::expectedRead(params.table()[row]));
    }
    std::vector<std::string> logged;
    std::istringstream lines(test::readFile(log));
    for (std::string line; std::getline(lines, line);) logged.push_back(line);
    EXPECT_EQ(logged, expected);
}

}  // namespace
}  // namespace zr
