#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace zr::test {

// ser2net (Debian's) in front of a serial device, listening on the loopback
// address with one port per accepter ("telnet(rfc2217)", "tcp", "telnet"),
// until killed or destroyed.
class Ser2netProcess {
  public:
    Ser2netProcess(const std::string& device, const std::vector<std::string>& accepters);
    ~Ser2netProcess();
    Ser2netProcess(const Ser2netProcess&) = delete;
    Ser2netProcess& operator=(const Ser2netProcess&) = delete;

    // Every port takes connections; false when the program did not start or
    // stayed deaf for 10 s (the log then says why).
    bool ready();
    uint16_t port(size_t accepter) const { return ports_.at(accepter); }
    // The server dies at once: its connections drop.
    void kill();
    std::string log() const;

    // A loopback port nobody listens on now.
    static uint16_t freePort();

  private:
    TempDir dir_;
    std::vector<uint16_t> ports_;
    pid_t pid_ = -1;
};

}  // namespace zr::test
