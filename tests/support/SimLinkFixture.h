#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "model/CameraModel.h"
#include "support/ManualClock.h"
#include "support/RecordingSink.h"

namespace zr::test {

// The simulated camera behind the real link, in-process, without gtest:
//
//   SimLinkFixture f;              // ManualClock (virtual time) by default
//   ASSERT_TRUE(f.open());         // camera attached at serial index 0 of the
//                                  // in-process Camera Link functions; link
//                                  // started with startOnBoardPort
//   f.link.SendCommand("0108050000");
//   f.sendAndWait("8108000000");   // the waiting caller's steps, see below
//   f.camera.commandTexts(); f.sink.texts();
//
// The constructing thread is the UI thread of `relay`: worker messages are
// shown on it (into `sink`) whenever it waits inside the link. Pass a clock
// (e.g. &zr::SystemClock::instance()) to run in real time; the camera and the
// sink use the same clock. The destructor closes the link (releasing a hold of
// the own ManualClock first) and detaches the camera. One fixture at a time:
// serial index 0 is process-wide.
// SendCommand, then wait on the link event until the status holds
// LS_ANSWER_OK, LS_ACK_TIMEOUT or LS_ANSWER_TIMEOUT (the waiting caller's
// steps). Returns every status bit seen on the way; 0 when SendCommand refused.
uint32_t sendAndWait(SerialLink& link, std::string_view text);

// Puts a table row's value into the camera's register, as the camera holds
// it, for a later read.
void setCameraRow(sim::CameraModel& camera, int row, int value);

class SimLinkFixture {
  public:
    explicit SimLinkFixture(Clock* clock = nullptr);
    ~SimLinkFixture();
    SimLinkFixture(const SimLinkFixture&) = delete;
    SimLinkFixture& operator=(const SimLinkFixture&) = delete;

    bool open();   // false when the port did not open or the link refused
    void close();  // CloseLink; the camera stays attached for a later open()

    // The waiting caller's steps: wait until no exchange runs (serving worker
    // messages), clearStatus, SendCommand, then wait on the link event until
    // the status holds LS_ANSWER_OK, LS_ACK_TIMEOUT or LS_ANSWER_TIMEOUT.
    // Returns every status bit seen on the way; 0 when SendCommand refused.
    uint32_t sendAndWait(std::string_view text);
    // Waits until every queued command has been exchanged (behind a read of
    // its own), then returns the texts the camera received before this call.
    std::vector<std::string> sentTexts();

    ManualClock manualClock;  // used unless another clock was passed
    Clock& clock;
    RecordingSink sink;
    MessageRelay relay;
    sim::CameraModel camera;
    SerialLink link;
};

}  // namespace zr::test
