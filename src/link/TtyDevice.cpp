#include "link/TtyDevice.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

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

}  // namespace

bool TtyDevice::speedFor(int baudRate, unsigned& speed) {
    for (const RateSpeed& entry : kRates) {
        if (entry.rate == baudRate) {
            speed = entry.speed;
            return true;
        }
    }
    return false;
}

TtyDevice::OpenResult TtyDevice::open(const std::string& path) {
    close();
    error_ = 0;
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
    if (!isatty(fd)) {
        error_ = errno;
        close();
        return OpenResult::NotATty;
    }
    if (ioctl(fd, TIOCEXCL) != 0) {
        error_ = errno;
        close();
        return OpenResult::NotATty;
    }
    return OpenResult::Opened;
}

bool TtyDevice::setRawLine(int baudRate) {
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
    if (cfgetospeed(&applied) != speed) return false;

    tcflush(fd_, TCIOFLUSH);
    return true;
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
