#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zr::sim {

// ser2net (Debian's) in front of a serial device, listening on the loopback
// address with one port per accepter ("telnet(rfc2217)", "tcp", "telnet"),
// until killed or destroyed: a serial device server for the tests and the
// bench, with its configuration and log in a folder of its own.
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
    // Waits (at most 5 s) until the server no longer holds the device: it
    // lets go of it a moment after its client has gone, and opens it again
    // only then. False when it still holds it.
    bool waitDeviceReleased();
    // The server dies at once: its connections drop.
    void kill();
    std::string log() const;
    // ser2net is installed (on the search path).
    static bool installed();

    // A loopback port nobody listens on now.
    static uint16_t freePort();

  private:
    std::string file(const char* name) const { return dir_ + "/" + name; }

    std::string dir_;
    std::string device_;
    std::vector<uint16_t> ports_;
    pid_t pid_ = -1;
};

}  // namespace zr::sim
