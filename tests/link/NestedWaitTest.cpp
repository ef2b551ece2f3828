#include <gtest/gtest.h>

#include <vector>

#include "params/ParamAccess.h"
#include "support/SimLinkFixture.h"

namespace zr::test {
namespace {

// A tool window's timer can fire inside the event loop of a worker message's
// box. The worker is blocked until that box closes, so a command issued there
// must be refused at once instead of waiting for an exchange that cannot end.
TEST(NestedWait, CommandsFromInsideAWorkerMessageAreRefusedNotWaitedFor) {
    SimLinkFixture f;
    ASSERT_TRUE(f.open());
    ParamAccess params(f.link);
    f.camera.updateFaults([](sim::FaultSettings& s) { s.silent = true; });

    std::vector<int> nested;
    f.sink.onShow([&](const RecordedMessage& m) {
        if (m.message.text != "There is no [ACK]") return;
        nested.push_back(f.link.SendCommand("0108050000"));
        AnswerBytes answer{9, 9, 9};
        nested.push_back(params.ReadRegister("8108000000", answer));
        nested.push_back(answer[0]);
        int32_t value = -7;
        nested.push_back(params.ReadParam(ROW_SHUTTER_SPEED, value));
        nested.push_back(value);
    });

    ASSERT_EQ(f.link.SendCommand("0117400000"), 0);
    // The next command waits for the first exchange and serves its ACK box.
    f.camera.updateFaults([](sim::FaultSettings& s) { s.silent = false; });
    f.camera.updateFaults([](sim::FaultSettings& s) { s.dropNextAcks = 3; });
    EXPECT_EQ(f.link.SendCommand("0117410000"), 0);

    EXPECT_EQ(nested, (std::vector<int>{1, 0, 9, -2, -7}));
    EXPECT_EQ(f.sink.texts(), (std::vector<std::string>{"There is no [ACK]"}));
}

}  // namespace
}  // namespace zr::test
