#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zr {

class SerialLink;

// The name under which the common Camera Link serial library is loaded.
inline constexpr const char* kClAllSerialName = "clallserial.dll";
// More ports than this are not queried; a library reporting a nonsense count
// must not keep the setup dialog busy.
inline constexpr uint32_t kClPortQueryLimit = 256;

// One Camera Link serial port as the common library describes it.
struct ClPortEntry {
    std::string manufacturer;
    std::string portId;
    uint32_t version = 0;
};

// Opens serial index 0 of a maker's library and starts the link's worker on
// it. 0 when the link is open, 1 otherwise (messages shown).
int OpenBoardLibrary(SerialLink& link, const std::string& file);

// Opens a serial index of the common library (the panel always uses 0) and
// starts the link's worker on it. 1 when the wanted baud rate was set, 0
// otherwise; see link.isOpen().
int OpenClAllSerial(SerialLink& link, uint32_t baudBit, uint32_t serialIndex = 0);

// Whether the common library loads (and offers the port listing).
bool commonLibraryLoads();
// The common library's ports in port-index order; nullopt when it does not load.
std::optional<std::vector<ClPortEntry>> commonLibraryPorts();

}  // namespace zr
