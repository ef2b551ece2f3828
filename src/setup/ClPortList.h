#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace zr {

// The serial ports that the Camera Link common library reports, as the setup
// dialog lists them.
class ClPortList {
  public:
    // The dialog's table of ports holds this many; further ports are not listed.
    static constexpr uint32_t kMaxPorts = 10;

    struct PortInfo {
        QString manufacturer;
        QString portId;
        uint32_t version = 0;
    };

    // Asks the common library; an empty list when it does not load or
    // reports no port.
    static ClPortList query();

    uint32_t count = 0;           // ports the library reports, listed or not
    std::vector<PortInfo> ports;  // the first kMaxPorts of them, by port index
};

}  // namespace zr
