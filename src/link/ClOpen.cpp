#include "link/ClOpen.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "link/ClLibrary.h"
#include "link/ClSerialApi.h"
#include "link/OpenMessages.h"
#include "link/SerialLink.h"

namespace zr {

namespace {

template <typename Fn>
bool lookUp(const ClLibrary& library, const char* name, Fn& fn, const char*& missing) {
    fn = reinterpret_cast<Fn>(library.symbol(name));
    if (!fn && !missing) missing = name;
    return fn != nullptr;
}

// The four functions every serial library has; nullptr or the first missing name.
const char* lookUpSerial(const ClLibrary& library, ClSerialFunctions& fns) {
    const char* missing = nullptr;
    lookUp(library, "clSerialInit", fns.serialInit, missing);
    lookUp(library, "clSerialRead", fns.serialRead, missing);
    lookUp(library, "clSerialWrite", fns.serialWrite, missing);
    lookUp(library, "clSerialClose", fns.serialClose, missing);
    return missing;
}

constexpr uint32_t kInfoBytes = 100;
using InfoBuffer = std::array<char, 512>;

// A library that left out the terminator or wrote past the 100 bytes it was
// offered must not make us read on: the text ends at the first zero or after
// 100 bytes. Control characters would garble the list; they become '?'.
std::string boundedText(const InfoBuffer& buffer) {
    const size_t length = strnlen(buffer.data(), kInfoBytes);
    std::string text(buffer.data(), length);
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = '?';
    }
    return text;
}

// A positive result is a warning: the library has opened the port all the
// same. The link does not use it, so give it back, or the next attempt would
// find it busy. A negative result opened nothing and filled no reference.
void releaseWarnedPort(const ClSerialFunctions& fns, void* port) {
    if (port) fns.serialClose(port);
}

bool refuseWhenOpen(SerialLink& link) {
    if (!link.isOpen()) return false;
    link.messages().show(OpenMessages::alreadyOpen());
    return true;
}

}  // namespace

int OpenBoardLibrary(SerialLink& link, const std::string& file) {
    // Never a second worker, and never disturb the running exchange.
    if (refuseWhenOpen(link)) return 1;

    const ClLibrary* library = ClLibrary::load(file);
    ClSerialFunctions fns;
    if (!library) {
        link.messages().show(OpenMessages::libraryMissing(file));
    } else if (const char* missing = lookUpSerial(*library, fns)) {
        link.messages().show(OpenMessages::functionMissing(file, missing));
    } else {
        void* port = nullptr;
        const int32_t result = fns.serialInit(0, &port);
        if (result < 0) {
            link.messages().show(OpenMessages::boardOpenError());
        } else if (result > 0) {
            releaseWarnedPort(fns, port);
            link.messages().show(OpenMessages::boardOpenWarning());
        } else if (!link.startOnBoardPort(fns, port)) {
            fns.serialClose(port);
        }
    }
    link.clearWaitingFlags();
    return link.isOpen() ? 0 : 1;
}

int OpenClAllSerial(SerialLink& link, uint32_t baudBit, uint32_t serialIndex) {
    if (refuseWhenOpen(link)) return 0;

    const ClLibrary* library = ClLibrary::load(kClAllSerialName);
    ClSerialFunctions fns;
    const char* missing = nullptr;
    int baudSet = 0;
    if (!library) {
        link.messages().show(OpenMessages::libraryMissing(kClAllSerialName));
    } else if ((missing = lookUpSerial(*library, fns)) ||
               !lookUp(*library, "clGetSupportedBaudRates", fns.getSupportedBaudRates, missing) ||
               !lookUp(*library, "clSetBaudRate", fns.setBaudRate, missing)) {
        link.messages().show(OpenMessages::functionMissing(kClAllSerialName, missing));
    } else {
        void* port = nullptr;
        const int32_t result = fns.serialInit(serialIndex, &port);
        if (result != 0) {
            if (result > 0) releaseWarnedPort(fns, port);
            link.messages().show(OpenMessages::clBoardConnectError());
        } else {
            uint32_t mask = 0;
            // A failed query tells nothing: keep the port's present rate.
            if (fns.getSupportedBaudRates(port, &mask) != 0) mask = 0;
            if (baudBit != 0 && (mask & baudBit) == baudBit) {
                fns.setBaudRate(port, baudBit);
                baudSet = 1;
            }
            if (!link.startOnBoardPort(fns, port)) {
                fns.serialClose(port);
                baudSet = 0;
            }
        }
    }
    link.clearWaitingFlags();
    return baudSet;
}

bool commonLibraryLoads() {
    return ClLibrary::load(kClAllSerialName) != nullptr;
}

std::optional<std::vector<ClPortEntry>> commonLibraryPorts() {
    const ClLibrary* library = ClLibrary::load(kClAllSerialName);
    if (!library) return std::nullopt;
    auto getNumPorts = reinterpret_cast<clGetNumPorts_t>(library->symbol("clGetNumPorts"));
    auto getPortInfo = reinterpret_cast<clGetPortInfo_t>(library->symbol("clGetPortInfo"));
    if (!getNumPorts || !getPortInfo) return std::nullopt;

    uint32_t count = 0;
    getNumPorts(&count);
    count = std::min(count, kClPortQueryLimit);

    std::vector<ClPortEntry> ports;
    ports.reserve(count);
    for (uint32_t index = 0; index < count; ++index) {
        // 100 bytes offered, with room behind them for a library that writes more.
        InfoBuffer name{};
        InfoBuffer id{};
        uint32_t nameBytes = kInfoBytes;
        uint32_t idBytes = kInfoBytes;
        uint32_t version = 0;
        getPortInfo(index, reinterpret_cast<int8_t*>(name.data()), &nameBytes,
                    reinterpret_cast<int8_t*>(id.data()), &idBytes, &version);
        ports.push_back({boundedText(name), boundedText(id), version});
    }
    return ports;
}

}  // namespace zr
