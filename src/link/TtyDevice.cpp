#include "link/TtyDevice.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace zr {

namespace {

struct RateSpeed {
    int rate;
    speed_t speed;
};

constexpr RateSpeed kRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

// Pseudo-terminal slaves (/dev/pts/N) and their master multiplexer.
constexpr unsigned kPtySlaveMajorFirst = 136;
constexpr unsigned kPtySlaveMajorLast = 143;
const dev_t kPtmx = makedev(5, 2);

// N of /dev/pts/N; -1 for any other device.
int ptyIndex(dev_t device) {
    const unsigned maj = major(device);
    if (maj < kPtySlaveMajorFirst || maj > kPtySlaveMajorLast) return -1;
    return static_cast<int>((maj - kPtySlaveMajorFirst) * 256 + minor(device));
}

// The terminal index of a pseudo-terminal master descriptor of another
// process; -1 when the kernel does not say (before Linux 6.2).
int masterIndex(const std::string& fdinfoPath) {
    FILE* file = std::fopen(fdinfoPath.c_str(), "re");
    if (file == nullptr) return -1;
    int index = -1;
    char line[128];
    while (std::fgets(line, sizeof line, file) != nullptr) {
        if (std::strncmp(line, "tty-index:", 10) == 0) index = std::atoi(line + 10);
    }
    std::fclose(file);
    return index;
}

// Adds the devices one process holds to `held`; none when its descriptors
// cannot be seen.
void addHeldBy(const std::string& pid, TtyDevice::DeviceNumbers& held) {
    const std::string fdDir = "/proc/" + pid + "/fd";
    DIR* dir = ::opendir(fdDir.c_str());
    if (dir == nullptr) return;
    TtyDevice::DeviceNumbers devices;
    std::vector<int> served;  // pty indices whose master this process holds
    bool servesUnknown = false;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        // Cached attributes only: a descriptor on a network file whose server
        // is gone must not hang the listing.
        struct statx st {};
        if (::statx(::dirfd(dir), entry->d_name, AT_STATX_DONT_SYNC, STATX_TYPE, &st) != 0 ||
            !S_ISCHR(st.stx_mode)) {
            continue;
        }
        const dev_t device = makedev(st.stx_rdev_major, st.stx_rdev_minor);
        if (device == kPtmx) {
            const int index = masterIndex("/proc/" + pid + "/fdinfo/" + entry->d_name);
            if (index < 0) {
                servesUnknown = true;  // then any of its slaves may be the one it serves
            } else {
                served.push_back(index);
            }
        } else {
            devices.push_back(device);
        }
    }
    ::closedir(dir);
    for (dev_t device : devices) {
        const int index = ptyIndex(device);
        const bool serving = index >= 0 && (servesUnknown || std::find(served.begin(), served.end(),
                                                                       index) != served.end());
        if (!serving) held.push_back(device);
    }
}

}  // namespace

TtyDevice::DeviceNumbers TtyDevice::heldByOtherProcesses() {
    DeviceNumbers held;
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return held;
    const std::string self = std::to_string(::getpid());
    while (const dirent* entry = ::readdir(proc)) {
        const char* name = entry->d_name;
        if (name[0] < '0' || name[0] > '9' || self == name) continue;
        addHeldBy(name, held);
    }
    ::closedir(proc);
    std::sort(held.begin(), held.end());
    held.erase(std::unique(held.begin(), held.end()), held.end());
    return held;
}

bool TtyDevice::speedFor(int baudRate, unsigned& speed) {
    const auto* entry = std::find_if(std::begin(kRates), std::end(kRates),
                                     [&](const RateSpeed& r) { return r.rate == baudRate; });
    if (entry == std::end(kRates)) return false;
    speed = entry->speed;
    return true;
}

TtyDevice::OpenResult TtyDevice::open(const std::string& path, const DeviceNumbers& held) {
    close();
    error_ = 0;
    // Another program's port, even one it holds without a lock: opening it
    // could already change its modem lines.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode) &&
        std::binary_search(held.begin(), held.end(), st.st_rdev)) {
        error_ = EBUSY;
        return OpenResult::Unavailable;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error_ = errno;
        return OpenResult::Unavailable;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error_ = errno;
        ::close(fd);
        return OpenResult::Unavailable;
    }
    fd_ = fd;
    if (!isatty(fd) || ioctl(fd, TIOCEXCL) != 0) {
        error_ = errno;
        close();
        return OpenResult::NotATty;
    }
    return OpenResult::Opened;
}

bool TtyDevice::setRawLine(int baudRate) {
    if (!applyRawLine(baudRate)) return false;
    tcflush(fd_, TCIOFLUSH);
    return true;
}

bool TtyDevice::acceptsRawLine(int baudRate) {
    termios saved{};
    if (fd_ < 0 || tcgetattr(fd_, &saved) != 0) return false;
    const bool accepted = applyRawLine(baudRate);
    // TCSANOW: no drain, no flush; what is queued stays queued.
    tcsetattr(fd_, TCSANOW, &saved);
    return accepted;
}

bool TtyDevice::applyRawLine(int baudRate) {
    unsigned speedValue = 0;
    if (fd_ < 0 || !speedFor(baudRate, speedValue)) return false;
    const auto speed = static_cast<speed_t>(speedValue);

    termios line{};
    if (tcgetattr(fd_, &line) != 0) return false;
    // Binary frames: no translation, no echo, no signals, no software flow
    // control. CLOCAL because camera cables rarely carry carrier detect.
    line.c_iflag &=
        ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IXON | IXOFF | IXANY);
    line.c_oflag &= ~OPOST;
    line.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    line.c_cflag &= ~(CSIZE | PARENB | CSTOPB);
    line.c_cflag |= CS8 | CREAD | CLOCAL;
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    if (cfsetispeed(&line, speed) != 0 || cfsetospeed(&line, speed) != 0) return false;
    if (tcsetattr(fd_, TCSANOW, &line) != 0) return false;

    // tcsetattr succeeds when any part of the change took; check the line.
    termios applied{};
    if (tcgetattr(fd_, &applied) != 0) return false;
    if ((applied.c_cflag & (CSIZE | PARENB | CSTOPB)) != CS8) return false;
    return cfgetospeed(&applied) == speed;
}

int TtyDevice::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void TtyDevice::close() {
    if (fd_ < 0) return;
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace zr
