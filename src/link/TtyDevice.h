#pragma once

#include <string>

namespace zr {

// The device side of a COM port: exclusive open, raw 8-N-1 line, release.
class TtyDevice {
  public:
    enum class OpenResult { Opened, Unavailable, NotATty };

    // The speed constant for a rate in bit/s; false when termios has none.
    static bool speedFor(int baudRate, unsigned& speed);

    // Opens read-write, no controlling tty, non-blocking, close-on-exec, and
    // takes it exclusively (flock, then TIOCEXCL). Unavailable: missing,
    // forbidden or held by someone else (errno kept in error()).
    OpenResult open(const std::string& path);
    // Raw 8-N-1 at the rate, reads that return at once, both buffers purged;
    // every other setting as read. False when reading or applying failed.
    bool setRawLine(int baudRate);
    // Hands the descriptor over; this object no longer releases it.
    int release();
    // Gives up exclusivity and closes. A pseudo-terminal keeps TIOCEXCL after
    // its slave is closed, which would lock out the next non-root opener.
    void close();

    int fd() const { return fd_; }
    int error() const { return error_; }

    TtyDevice() = default;
    ~TtyDevice() { close(); }
    TtyDevice(const TtyDevice&) = delete;
    TtyDevice& operator=(const TtyDevice&) = delete;

  private:
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace zr
