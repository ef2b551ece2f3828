#pragma once

#include <string>

namespace zr {

// Where a port number "COMn" lives on this machine.
//
// Rule: an entry named COMn in the port directory wins, whatever it is (a
// symbolic link to a tty, the device node itself, a link to nothing, which
// hides the port, or a small text file whose first line is a network port's
// URL, rfc2217://HOST:PORT or socket://HOST:PORT, which COMn then reaches). Without an entry,
// COM1-COM4 are /dev/ttyS0-3, COM5-COM8 /dev/ttyUSB0-3 and COM9-COM10 /dev/ttyACM0-1; other numbers
// have no device. The port directory is $ZRK880_PORT_DIR, else
// <$XDG_CONFIG_HOME or ~/.config>/ZR_K880TM_Control/ports.
class ComPortResolver {
  public:
    // What COMn resolves to, for opening and for showing the user.
    struct Location {
        std::string path;    // what is opened (a path or a URL); empty: the port has no device
        std::string device;  // the device behind it (links followed) or, dangling, the link text
        bool fromPortDir = false;
    };

    explicit ComPortResolver(std::string portDir);
    // The rule with the port directory named by the environment.
    static ComPortResolver fromEnvironment();
    static std::string portDirFromEnvironment();

    const std::string& portDir() const { return portDir_; }
    Location locate(int portNumber) const;
    std::string devicePath(int portNumber) const { return locate(portNumber).path; }

    // The built-in default device of COMn, empty when there is none.
    static std::string builtInDevice(int portNumber);

  private:
    std::string portDir_;
};

// For the setup dialog's tool tips: the device COMn resolves to now, empty for none.
std::string comPortDevice(int portNumber);

}  // namespace zr
