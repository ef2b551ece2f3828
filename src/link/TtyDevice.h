#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace zr {

// The device side of a COM port: exclusive open, raw 8-N-1 line, release.
class TtyDevice {
  public:
    enum class OpenResult { Opened, Unavailable, NotATty };

    // The speed constant for a rate in bit/s; false when termios has none.
    static bool speedFor(int baudRate, unsigned& speed);

    // Device numbers of the character devices that other processes hold open,
    // sorted, as far as /proc shows them (root sees every process, a user
    // only their own). A process that holds a pseudo-terminal's master serves
    // that terminal, like the simulated camera, and does not count as holding
    // its slave.
    using DeviceNumbers = std::vector<dev_t>;
    static DeviceNumbers heldByOtherProcesses();

    // Opens read-write, no controlling tty, non-blocking, close-on-exec, and
    // takes it exclusively (flock, then TIOCEXCL). Unavailable: missing,
    // forbidden or held by someone else (errno kept in error()): a device in
    // `held` is not even opened, so its holder is not disturbed.
    OpenResult open(const std::string& path, const DeviceNumbers& held);
    OpenResult open(const std::string& path) { return open(path, heldByOtherProcesses()); }
    // Raw 8-N-1 at the rate, reads that return at once, both buffers purged;
    // every other setting as read. False when reading or applying failed.
    bool setRawLine(int baudRate);
    // Whether the line takes raw 8-N-1 at the rate; the line settings are put
    // back as they were and nothing buffered is discarded.
    bool acceptsRawLine(int baudRate);
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
    bool applyRawLine(int baudRate);

    int fd_ = -1;
    int error_ = 0;
};

}  // namespace zr
