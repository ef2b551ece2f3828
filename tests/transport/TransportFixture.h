#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "PortDir.h"
#include "link/Clock.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "model/CameraModel.h"
#include "support/CamsimProcess.h"
#include "support/EnvVar.h"
#include "support/Eventually.h"
#include "support/PtyCamera.h"
#include "support/RecordingSink.h"

namespace zr::test {

// Real time, with the tick running `scale` times faster than the wall clock,
// so that the link's time-outs pass quickly while the pseudo-terminal still
// answers in time. Counts the calls, so a test can tell a polling worker from
// one that spins.
class ScaledClock : public Clock {
  public:
    explicit ScaledClock(uint32_t scale) : scale_(scale) {}
    uint32_t tickMs() override;
    void sleepMs(uint32_t ms) override;
    uint64_t ticks() const { return ticks_.load(); }
    uint64_t sleeps() const { return sleeps_.load(); }

  private:
    uint32_t scale_;
    std::atomic<uint64_t> ticks_{0};
    std::atomic<uint64_t> sleeps_{0};
};

// A folder holding a copy of the simulated library as libclsertest.so, so that
// it loads as a maker's library of its own, beside the common library.
std::string makerLibraryDir();

// Descriptors this process has open now.
int openDescriptorCount();
// What this process's descriptors point at now (a path, "pipe:[n]", ...).
std::vector<std::string> openDescriptorTargets();
// The targets `after` holds more often than `before`: descriptors opened and
// kept in between. Empty when none was.
std::vector<std::string> descriptorsGained(std::vector<std::string> before,
                                           std::vector<std::string> after);
// Whether the terminal is in exclusive mode (TIOCGEXCL).
bool terminalExclusive(int fd);
// Whether another open file can take an exclusive flock on the path now.
bool lockableByOthers(const std::string& path);

// Runs one exchange the way a waiting caller does and returns the status bits
// seen: until LS_ACK (a write) or LS_ANSWER_OK (a read), or a time-out bit.
// Gives up after `realLimitMs` of real time (the test then fails).
uint32_t runExchange(SerialLink& link, std::string_view text, uint32_t realLimitMs = 20000);

// The 18 bytes of a command frame, as the camera must receive them.
std::string frameBytes(std::initializer_list<int> bytes);

// A link on the real clock with the simulated camera on a pseudo-terminal,
// entered as COM3 in a temporary port directory.
class PtyLinkTest : public ::testing::Test {
  protected:
    PtyLinkTest();
    ~PtyLinkTest() override;

    // Messages as "text|caption".
    std::vector<std::string> shown() const;

    PortDir ports;
    Clock& clock;
    sim::CameraModel camera;
    PtyCamera pty;
    RecordingSink sink;
    MessageRelay relay;
    SerialLink link;
};

}  // namespace zr::test
