#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <thread>

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

// The signal is the link's auto-reset event: readable until taken, and a
// take reports whether it was set.
TEST(WakeSignal, ReadableFromSignalUntilTaken) {
    WakeSignal wake;
    ASSERT_GE(wake.fd(), 0);
    EXPECT_FALSE(readable(wake.fd()));
    EXPECT_FALSE(wake.take());
    wake.signal();
    wake.signal();
    EXPECT_TRUE(readable(wake.fd()));
    EXPECT_TRUE(wake.take());
    EXPECT_FALSE(readable(wake.fd()));
    EXPECT_FALSE(wake.take());
}

// The real clock's wait has no limit of its own (kForever) and ends when a
// descriptor has input: here a signal from another thread.
TEST(SystemClockWait, EndsWhenADescriptorHasInput) {
    WakeSignal wake;
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        wake.signal();
    });
    const int fds[] = {-1, wake.fd()};
    const WaitResult result = SystemClock::instance().waitReadable(fds, 2, Clock::kForever);
    other.join();
    EXPECT_EQ(result.readable, 2u);
    EXPECT_EQ(result.broken, 0u);
}

// Without a descriptor the wait lasts its whole time; a descriptor that has
// hung up (a pulled adapter) ends it at once, reported as broken, so that
// the worker leaves it out of its later waits.
TEST(SystemClockWait, MissingDescriptorsSleepAndHungUpOnesAreReported) {
    const int none[] = {-1};
    const auto start = Steady::now();
    const WaitResult slept = SystemClock::instance().waitReadable(none, 1, 60);
    EXPECT_GE(msSince(start), 60);
    EXPECT_EQ(slept.readable | slept.broken, 0u);

    const int slave = hungUpPtySlave();
    ASSERT_GE(slave, 0);
    const int hungUp[] = {-1, slave};
    const WaitResult broken = SystemClock::instance().waitReadable(hungUp, 2, Clock::kForever);
    EXPECT_EQ(broken.broken, 2u);
    ::close(slave);
}

}  // namespace
}  // namespace zr
