#include "TransportFixture.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <thread>

#include "link/LinkStatus.h"
#include "link/SystemClock.h"

namespace zr::test {

uint32_t ScaledClock::tickMs() {
    ++ticks_;
    using namespace std::chrono;
    const auto now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(static_cast<uint64_t>(now) * scale_);
}

void ScaledClock::sleepMs(uint32_t ms) {
    ++sleeps_;
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string makerLibraryDir() {
    // Never destroyed: the exit handler below is registered before this
    // string's destructor would be, so it runs after it and still reads it.
    static const std::string& dir = *new std::string([] {
        char pattern[] = "/tmp/zrk880-maker-XXXXXX";
        if (!mkdtemp(pattern)) return std::string("/nonexistent");
        const std::string made = pattern;
        std::error_code error;
        std::filesystem::copy_file(simDir() + "/cl/libclallserial.so", made + "/libclsertest.so",
                                   error);
        if (error) ADD_FAILURE() << "cannot copy the simulated library: " << error.message();
        // Loaded libraries stay mapped; the files can go when the tests end.
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(makerLibraryDir(), ignored);
        });
        return made;
    }());
    return dir;
}

int openDescriptorCount() {
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return -1;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.') ++count;
    }
    closedir(dir);
    return count;
}

std::vector<std::string> openDescriptorTargets() {
    std::vector<std::string> targets;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        std::error_code gone;  // the listing's own descriptor is closed by now
        const auto target = std::filesystem::read_symlink(entry.path(), gone);
        if (!gone) targets.push_back(target.string());
    }
    return targets;
}

std::vector<std::string> descriptorsGained(std::vector<std::string> before,
                                           std::vector<std::string> after) {
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    std::vector<std::string> gained;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::back_inserter(gained));
    return gained;
}

bool terminalExclusive(int fd) {
    int exclusive = 0;
    if (ioctl(fd, TIOCGEXCL, &exclusive) != 0) return false;
    return exclusive != 0;
}

bool lockableByOthers(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const bool locked = flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return locked;
}

uint32_t runExchange(SerialLink& link, std::string_view text, uint32_t realLimitMs) {
    const bool read =
        !text.empty() && std::string("89ABCDEFabcdef").find(text[0]) != std::string::npos;
    const uint32_t done = (read ? LS_ANSWER_OK : LS_ACK) | LS_ACK_TIMEOUT | LS_ANSWER_TIMEOUT;
    link.clearStatus();
    if (link.SendCommand(text) != 0) return 0;
    uint32_t seen = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(realLimitMs);
    while (std::chrono::steady_clock::now() < deadline) {
        link.waitLinkEventFor(50);
        seen |= link.fetchAndClearStatus();
        if (seen & done) return seen;
    }
    ADD_FAILURE() << "exchange of " << text << " did not end";
    return seen;
}

std::string frameBytes(std::initializer_list<int> bytes) {
    std::string frame;
    for (int b : bytes) frame.push_back(static_cast<char>(b));
    return frame;
}

PtyLinkTest::PtyLinkTest()
    : clock(SystemClock::instance()),
      camera(clock),
      pty(camera),
      sink(&clock),
      relay(sink),
      link(relay, clock) {
    ports.link(3, pty.slavePath());
}

PtyLinkTest::~PtyLinkTest() {
    link.CloseLink();
}

std::vector<std::string> PtyLinkTest::shown() const {
    std::vector<std::string> out;
    for (const RecordedMessage& m : sink.messages())
        out.push_back(m.message.text + "|" + m.message.caption);
    return out;
}

}  // namespace zr::test
