#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string_view>
#include <thread>

#include "ScriptedPort.h"
#include "link/LinkStatus.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "support/ManualClock.h"
#include "support/RecordingSink.h"

namespace zr::test {

// Polls a condition in real time; for waiting on the worker thread.
inline bool eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// A link over the scripted Camera Link port, on virtual time.
class ScriptedLinkTest : public ::testing::Test {
  protected:
    static inline int refTarget = 0;
    void* const kRef = &refTarget;

    explicit ScriptedLinkTest(uint32_t startTick = 1000) : clock(startTick) {}
    void SetUp() override { port.reset(&clock); }
    void TearDown() override {
        clock.release();
        link.CloseLink();
    }

    bool open(void* ref) {
        const bool ok = link.startOnBoardPort(ScriptedPort::functions(), ref);
        link.clearWaitingFlags();
        return ok;
    }
    bool open() { return open(kRef); }

    // The waiting caller's steps; every status bit seen.
    uint32_t sendAndWait(std::string_view text) {
        link.clearStatus();
        if (link.SendCommand(text) != 0) return 0;
        uint32_t seen = 0;
        for (;;) {
            link.waitLinkEvent();
            const uint32_t copy = link.fetchAndClearStatus();
            seen |= copy;
            if (copy & (LS_ANSWER_OK | LS_ACK_TIMEOUT | LS_ANSWER_TIMEOUT)) return seen;
        }
    }

    // Waits for the event reporting one of `bits`; every status bit seen.
    uint32_t waitFor(uint32_t bits) {
        uint32_t seen = 0;
        while ((seen & bits) == 0) {
            link.waitLinkEvent();
            seen |= link.fetchAndClearStatus();
        }
        return seen;
    }

    bool idle() { return !link.inExchange(); }

    ManualClock clock;
    RecordingSink sink{&clock};
    MessageRelay relay{sink};
    SerialLink link{relay, clock};
    ScriptedPort& port = ScriptedPort::instance();
    const AnswerBytes fallback{0xEE, 0xDD, 0xCC};
};

}  // namespace zr::test
