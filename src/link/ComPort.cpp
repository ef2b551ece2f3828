#include "link/ComPort.h"

#include <algorithm>
#include <charconv>

#include "link/ComPortResolver.h"
#include "link/NetOpen.h"
#include "link/NetUrl.h"
#include "link/OpenMessages.h"
#include "link/SerialLink.h"
#include "link/TtyDevice.h"

namespace zr {

namespace {

constexpr int kMaxComPort = 255;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A decimal rate that termios knows; anything else is refused.
bool parseBaud(std::string_view text, int& baud) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, baud);
    unsigned speed = 0;
    return error == std::errc() && stop == end && TtyDevice::speedFor(baud, speed);
}

// Opens the device, sets the line and hands it to the link. The device is
// released again when the line cannot be set.
void openDevice(SerialLink& link, const std::string& path, int baud) {
    TtyDevice device;
    const TtyDevice::OpenResult opened = device.open(path);
    if (opened == TtyDevice::OpenResult::Unavailable) {
        link.messages().show(OpenMessages::portOpenError());
        return;
    }
    if (opened != TtyDevice::OpenResult::Opened || !device.setRawLine(baud)) return;
    if (link.startOnComDevice(device.fd())) device.release();
}

}  // namespace

PortText SplitPortText(std::string_view portText) {
    PortText tokens;
    std::string* next[] = {&tokens.device, &tokens.baud};
    size_t pos = 0;
    for (std::string* token : next) {
        while (pos < portText.size() && isBlank(portText[pos])) ++pos;
        const size_t start = pos;
        while (pos < portText.size() && !isBlank(portText[pos])) ++pos;
        token->assign(portText.substr(start, pos - start));
    }
    return tokens;
}

int ComPortNumber(std::string_view device) {
    if (device.size() < 4 || device.size() > 6) return 0;
    for (size_t i = 0; i < 3; ++i) {
        if (static_cast<char>(device[i] & ~0x20) != "COM"[i]) return 0;
    }
    if (device[3] == '0') return 0;
    int number = 0;
    const char* end = device.data() + device.size();
    auto [stop, error] = std::from_chars(device.data() + 3, end, number);
    if (error != std::errc() || stop != end || number < 1 || number > kMaxComPort) return 0;
    return number;
}

int OpenComPort(SerialLink& link, std::string_view portText) {
    const PortText tokens = SplitPortText(portText);
    const int number = ComPortNumber(tokens.device);
    const std::string path =
        number ? ComPortResolver::fromEnvironment().devicePath(number) : std::string();
    return OpenComDevice(link, path, tokens.baud);
}

int OpenComDevice(SerialLink& link, const std::string& path, std::string_view baudText) {
    // Never a second worker, and never disturb the running exchange.
    if (link.isOpen()) {
        link.messages().show(OpenMessages::alreadyOpen());
        return 1;
    }
    int baud = 0;
    if (path.empty()) {
        link.messages().show(OpenMessages::portOpenError());
    } else if (!parseBaud(baudText, baud)) {
        link.messages().show(OpenMessages::baudRateUnsupported(std::string(baudText)));
    } else if (hasNetScheme(path)) {
        openNetPort(link, path, baud);
    } else {
        openDevice(link, path, baud);
    }
    link.clearWaitingFlags();
    return link.isOpen() ? 0 : 1;
}

void EnumerateComPorts(SerialLink& link) {
    std::array<int, 255>& ports = link.comPorts();
    ports.fill(-1);
    const ComPortResolver resolver = ComPortResolver::fromEnvironment();
    // Looked up once for the whole listing.
    const TtyDevice::DeviceNumbers held = TtyDevice::heldByOtherProcesses();
    size_t found = 0;
    for (int n = 1; n <= kMaxComPort; ++n) {
        const std::string path = resolver.devicePath(n);
        if (path.empty()) continue;
        // A network port is not tried here: connecting may take seconds,
        // and a server may hand the line to the newest client.
        if (hasNetScheme(path)) {
            ports[found++] = n;
            continue;
        }
        TtyDevice device;
        if (device.open(path, held) != TtyDevice::OpenResult::Opened) continue;
        // Only a look: a port nobody holds may still have a program's settings
        // and unread input on it.
        if (device.acceptsRawLine(9600)) ports[found++] = n;
    }
}

}  // namespace zr
