#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

#include "ScriptedPort.h"
#include "link/LinkStatus.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "support/Eventually.h"
#include "support/ManualClock.h"
#include "support/RecordingSink.h"
#include "support/SimLinkFixture.h"

namespace zr::test {

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
    uint32_t sendAndWait(std::string_view text) { return zr::test::sendAndWait(link, text); }

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
    // Serves the worker's boxes until the exchange has ended.
    bool settled() {
        return eventually([&] {
            relay.servePending();
            return idle();
        });
    }
    // Serves the worker's boxes until `n` were shown.
    bool boxesShown(size_t n) {
        return eventually([&] {
            relay.servePending();
            return sink.count() == n;
        });
    }
    // The camera ACKs only the n-th frame written (every frame when n is 0)
    // and sends no answer data.
    void ackFrameWrite(int n = 0) {
        auto seen = std::make_shared<int>(0);
        port.respond([seen, n](const Bytes& w) -> std::vector<Bytes> {
            if (w.size() != 18) return {};
            return ++*seen == n || n == 0 ? std::vector<Bytes>{{0x06}} : std::vector<Bytes>{};
        });
    }
    // The one-byte writes: the ACKs and NAKs sent back to the camera, in order.
    std::vector<Bytes> replies() {
        std::vector<Bytes> out;
        for (const auto& w : port.writes())
            if (w.bytes.size() == 1) out.push_back(w.bytes);
        return out;
    }

    ManualClock clock;
    RecordingSink sink{&clock};
    MessageRelay relay{sink};
    SerialLink link{relay, clock};
    ScriptedPort& port = ScriptedPort::instance();
    const AnswerBytes fallback{0xEE, 0xDD, 0xCC};
};

}  // namespace zr::test
