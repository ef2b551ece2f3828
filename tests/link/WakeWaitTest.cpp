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
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    ASSERT_GE(slave, 0);
    ::close(master);

    const int none[] = {-1};
    const int hungUp[] = {slave};
    for (const int* fds : {none, hungUp}) {
        const auto start = Steady::now();
        SystemClock::instance().sleepUnlessReadable(60, fds, 1);
        EXPECT_GE(msSince(start), 60);
    }
    ::close(slave);
}

}  // namespace
}  // namespace zr
