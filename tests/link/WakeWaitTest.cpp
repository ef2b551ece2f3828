#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "link/AutoResetEvent.h"
#include "link/SystemClock.h"
#include "link/WakeSignal.h"

namespace zr {
namespace {

using Steady = std::chrono::steady_clock;

bool readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

// The slave of a pseudo-terminal whose master is already closed, as a pulled
// adapter leaves it; -1 when none could be made.
int hungUpPtySlave() {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        if (master >= 0) ::close(master);
        return -1;
    }
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    ::close(master);
    return slave;
}

long long msSince(Steady::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count();
}

TEST(WakeSignal, ReadableFromSignalUntilDrained) {
    WakeSignal wake;
    ASSERT_GE(wake.fd(), 0);
    EXPECT_FALSE(readable(wake.fd()));
    wake.signal();
    wake.signal();
    EXPECT_TRUE(readable(wake.fd()));
    wake.drain();
    EXPECT_FALSE(readable(wake.fd()));
}

// The real clock's wait ends when a descriptor has input: a 10 s limit that
// a signal from another thread cuts short.
TEST(SystemClockWait, EndsWhenADescriptorHasInput) {
    WakeSignal wake;
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        wake.signal();
    });
    const int fds[] = {-1, wake.fd()};
    const auto start = Steady::now();
    SystemClock::instance().sleepUnlessReadable(10000, fds, 2);
    other.join();
    EXPECT_LT(msSince(start), 5000);
}

// Without a descriptor, or with one that has hung up (a pulled adapter),
// the wait lasts its full time: a waiting loop keeps its pace, never spins.
TEST(SystemClockWait, HungUpOrMissingDescriptorsSleepTheWholeTime) {
    const int slave = hungUpPtySlave();
    ASSERT_GE(slave, 0);

    const int none[] = {-1};
    const int hungUp[] = {slave};
    for (const int* fds : {none, hungUp}) {
        const auto start = Steady::now();
        SystemClock::instance().sleepUnlessReadable(60, fds, 1);
        EXPECT_GE(msSince(start), 60);
    }
    ::close(slave);
}

// The watching wait: input present or arriving ends it with true; nothing
// but absent descriptors, or one that has hung up, gives false, so the
// caller goes on to its sleep instead of taking a hang-up for input.
TEST(SystemClockWatch, TrueOnlyForInput) {
    WakeSignal wake;
    const int fds[] = {-1, wake.fd()};
    SystemClock& clock = SystemClock::instance();
    EXPECT_FALSE(clock.spinUntilReadable(200, fds, 2));
    wake.signal();
    EXPECT_TRUE(clock.spinUntilReadable(0, fds, 2));
    EXPECT_TRUE(readable(wake.fd()));  // watching takes nothing away
    wake.drain();
    std::thread other([&] { wake.signal(); });
    const bool seen = clock.spinUntilReadable(10000000, fds, 2);
    other.join();
    EXPECT_TRUE(seen);

    const int none[] = {-1};
    EXPECT_FALSE(clock.spinUntilReadable(10000000, none, 1));
    const int slave = hungUpPtySlave();
    ASSERT_GE(slave, 0);
    const int hungUp[] = {slave};
    EXPECT_FALSE(clock.spinUntilReadable(10000000, hungUp, 1));
    ::close(slave);
}

// The event's watching wait consumes a signal exactly as the sleeping one.
TEST(AutoResetEventWatch, TakesOneSignalAndResets) {
    AutoResetEvent event;
    const auto spin = std::chrono::microseconds(200);
    EXPECT_FALSE(event.waitFor(std::chrono::milliseconds(0), spin));
    event.signal();
    EXPECT_TRUE(event.waitFor(std::chrono::milliseconds(0), spin));
    EXPECT_FALSE(event.waitFor(std::chrono::milliseconds(0), spin));
    std::thread other([&] { event.signal(); });
    EXPECT_TRUE(event.waitFor(std::chrono::seconds(60), std::chrono::seconds(60)));
    other.join();
    EXPECT_FALSE(event.waitFor(std::chrono::milliseconds(0)));
}

}  // namespace
}  // namespace zr
