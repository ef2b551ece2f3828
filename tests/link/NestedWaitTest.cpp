#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ScriptedLinkTest.h"
#include "params/ParamAccess.h"
#include "support/SimLinkFixture.h"

namespace zr::test {
namespace {

// Ends the test program when a test has not finished in time, so a deadlock
// fails the run instead of stalling it.
class HangWatchdog {
  public:
    explicit HangWatchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
              std::unique_lock lock(mutex_);
              if (done_.wait_for(lock, limit, [this] { return finished_; })) return;
              std::fprintf(stderr, "hung for %lld s: deadlock\n",
                           static_cast<long long>(limit.count()));
              std::_Exit(1);
          }) {}
    ~HangWatchdog() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }

  private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;  // last: starts once the rest is built
};

// A tool window's timer can fire inside the event loop of a worker message's
// box. The worker is blocked until that box closes, so a command issued there
// must be refused at once instead of waiting for an exchange that cannot end.
TEST(NestedWait, CommandsFromInsideAWorkerMessageAreRefusedNotWaitedFor) {
    HangWatchdog watchdog(std::chrono::seconds(60));
    SimLinkFixture f;
    ASSERT_TRUE(f.open());
    ParamAccess params(f.link);
    // The first frame and its two resends go unacknowledged. Set before the
    // frame is queued: the worker may write it at any moment after that.
    f.camera.updateFaults([](sim::FaultSettings& s) { s.dropNextAcks = 3; });

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
    EXPECT_EQ(f.link.SendCommand("0117400000"), 0);

    EXPECT_EQ(nested, (std::vector<int>{1, 0, 9, -2, -7}));
    EXPECT_EQ(f.sink.texts(), (std::vector<std::string>{"There is no [ACK]"}));
}

struct RefusalCase {
    std::string text;
    std::vector<std::string> boxes;
};

class RefusalBox : public ::testing::TestWithParam<RefusalCase> {};

// A refusal box of SendCommand is a nested event loop too, but nothing of the
// link waits on it: a poll timer's read issued inside it runs its whole
// exchange with the real worker, and the boxes keep their texts and order.
TEST_P(RefusalBox, AReadFromInsideTheBoxCompletes) {
    const RefusalCase& c = GetParam();
    HangWatchdog watchdog(std::chrono::seconds(60));
    SimLinkFixture f;
    ASSERT_TRUE(f.open());
    ParamAccess params(f.link);
    f.camera.setReg(0x01, 0x08, 0x5A0000);

    std::vector<int32_t> nested;
    f.sink.onShow([&](const RecordedMessage&) {
        if (!nested.empty()) return;
        int32_t value = -1;
        nested.push_back(params.ReadParam(ROW_SHUTTER_SPEED, value));
        nested.push_back(value);
        nested.push_back(f.link.SendCommand("0108210000"));
    });

    EXPECT_EQ(f.link.SendCommand(c.text), 1);
    EXPECT_EQ(nested, (std::vector<int32_t>{0, 0x5A, 0}));
    EXPECT_EQ(f.sink.texts(), c.boxes);
    for (const RecordedMessage& r : f.sink.messages()) {
        EXPECT_EQ(r.message.caption, "Command ERROR");
        EXPECT_EQ(r.message.icon, MsgIcon::Error);
    }
    // The refused text never reached the camera; the two nested commands did.
    ASSERT_TRUE(eventually([&] { return !f.link.inExchange(); }));
    EXPECT_EQ(f.camera.commandTexts(), (std::vector<std::string>{"8108000000", "0108210000"}));
}

const std::string kChar = "Character error.";
INSTANTIATE_TEST_SUITE_P(Texts, RefusalBox,
                         ::testing::Values(RefusalCase{"012G", {kChar}},
                                           RefusalCase{"G1H2J", {kChar, kChar, kChar}},
                                           RefusalCase{"123", {"Command Length error."}},
                                           RefusalCase{"81", {"Command Length error."}}));

}  // namespace
}  // namespace zr::test
