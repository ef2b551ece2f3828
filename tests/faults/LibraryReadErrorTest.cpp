#include <gtest/gtest.h>

#include <atomic>

#include "link/LinkStatus.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "support/PassClock.h"
#include "support/RecordingSink.h"

namespace zr::test {
namespace {

constexpr int32_t kClErrTimeout = -10011;

// A maker's library whose reads fail with a time-out and leave the size as
// it was passed in, as some do when nothing came; after each frame written
// it hands over one ACK, unless the camera is silent.
std::atomic<int> framesWritten{0};
std::atomic<int> acksOwed{0};
std::atomic<bool> silent{false};

int32_t init(uint32_t, void** ref) {
    *ref = &framesWritten;
    return 0;
}

int32_t read(void*, int8_t* buffer, uint32_t* size, uint32_t) {
    if (acksOwed.load() > 0) {
        --acksOwed;
        buffer[0] = static_cast<int8_t>(ACK);
        *size = 1;
        return 0;
    }
    return kClErrTimeout;  // *size untouched
}

int32_t write(void*, int8_t*, uint32_t* size, uint32_t) {
    if (*size == kCommandFrameSize) {
        ++framesWritten;
        if (!silent.load()) ++acksOwed;
    }
    return 0;
}

void close(void*) {}

// The bytes of an earlier read are still in the worker's buffer when a
// failed read leaves the size at 100: they must not be taken for a reply.
TEST(LibraryReadError, AFailedReadThatLeavesTheSizeDeliversNothing) {
    PassClock clock;
    RecordingSink sink(&clock);
    MessageRelay relay(sink);
    SerialLink link(relay, clock);
    ClSerialFunctions fns;
    fns.serialInit = init;
    fns.serialRead = read;
    fns.serialWrite = write;
    fns.serialClose = close;
    void* ref = nullptr;
    ASSERT_EQ(init(0, &ref), 0);
    ASSERT_TRUE(link.startOnBoardPort(fns, ref));
    link.clearWaitingFlags();

    auto exchange = [&](const char* text) {
        link.clearStatus();
        EXPECT_EQ(link.SendCommand(text), 0);
        uint32_t seen = 0;
        while ((seen & (LS_ACK | LS_ACK_TIMEOUT)) == 0) {
            link.waitLinkEvent();
            seen |= link.fetchAndClearStatus();
        }
        return seen;
    };
    EXPECT_EQ(exchange("0108050000") & (LS_ACK | LS_ACK_TIMEOUT), LS_ACK);
    EXPECT_EQ(sink.count(), 0u);

    silent = true;
    framesWritten = 0;
    EXPECT_EQ(exchange("0108060000") & (LS_ACK | LS_ACK_TIMEOUT), LS_ACK_TIMEOUT);
    EXPECT_EQ(framesWritten.load(), 3);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"There is no [ACK]"});
    link.CloseLink();
}

}  // namespace
}  // namespace zr::test
