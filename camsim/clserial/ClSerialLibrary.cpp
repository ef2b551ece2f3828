#include "clserial/ClSerialLibrary.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "link/SystemClock.h"
#include "model/ClErrors.h"
#include "model/FrameLog.h"
#include "model/SimOptions.h"

namespace zr::sim {

namespace {

constexpr uint32_t kMaxPorts = 64;

std::string env(const char* name, const std::string& fallback = {}) {
    const char* value = std::getenv(name);
    return value ? value : fallback;
}

long envNumber(const char* name, long fallback, long min, long max) {
    const std::string text = env(name);
    long value = fallback;
    if (!text.empty() && !parseNumber(text, min, max, value)) {
        std::fprintf(stderr, "camsim: ignoring %s='%s'\n", name, text.c_str());
    }
    return value;
}

// Entry `index` of a ';'-separated list; the last entry serves the ports after it.
std::string listEntry(const char* name, uint32_t index, const std::string& fallback) {
    const auto entries = splitAt(env(name), ';');
    if (entries.empty()) return fallback;
    return entries[std::min<size_t>(index, entries.size() - 1)];
}

}  // namespace

ClSerialLibrary& ClSerialLibrary::instance() {
    static ClSerialLibrary library;
    return library;
}

uint32_t ClSerialLibrary::portCount() const {
    return static_cast<uint32_t>(envNumber("ZR_SIM_CL_PORTS", 1, 0, kMaxPorts));
}

std::string ClSerialLibrary::manufacturer(uint32_t index) const {
    return listEntry("ZR_SIM_CL_MANUFACTURERS", index, "camsim");
}

std::string ClSerialLibrary::portId(uint32_t index) const {
    return listEntry("ZR_SIM_CL_PORT_IDS", index, "camsim#" + std::to_string(index));
}

uint32_t ClSerialLibrary::baudRateMask() const {
    return static_cast<uint32_t>(envNumber("ZR_SIM_CL_BAUD_MASK", 0x1F, 0, 0xFFFFFFFFL));
}

int32_t ClSerialLibrary::open(uint32_t index, void** ref) {
    if (!ref) return CL_ERR_INVALID_REFERENCE;
    if (index >= portCount()) return CL_ERR_INVALID_INDEX;
    const auto result =
        static_cast<int32_t>(envNumber("ZR_SIM_CL_INIT_RESULT", 0, INT32_MIN, INT32_MAX));
    if (result < 0) return result;

    SimOptions options;
    std::vector<std::string> rest;
    std::string error;
    if (!parseSimOptions(splitWords(env("ZR_SIM_CL_OPTIONS")), options, rest, error) ||
        !rest.empty()) {
        std::fprintf(stderr, "camsim: ZR_SIM_CL_OPTIONS: %s\n",
                     error.empty() ? ("unknown option " + rest.front()).c_str() : error.c_str());
        return CL_ERR_INVALID_INDEX;
    }

    std::lock_guard lock(mutex_);
    while (ports_.size() <= index) {
        ports_.push_back(std::make_unique<Port>());
        ports_.back()->model.setFrameObserver(
            [](const ReceivedFrame& frame) { appendFrameLog(env("ZR_SIM_CL_LOG"), frame); });
    }
    Port& port = *ports_[index];
    if (port.open) return CL_ERR_PORT_IN_USE;
    port.model.setFaults(options.faults);
    port.model.setBehaviour(options.behaviour);
    port.open = true;
    *ref = &port;
    return result;  // 0, or a warning that still opened the port
}

ClSerialLibrary::Port* ClSerialLibrary::port(void* ref) {
    std::lock_guard lock(mutex_);
    for (auto& port : ports_) {
        if (port.get() == ref && port->open) return port.get();
    }
    return nullptr;
}

void ClSerialLibrary::close(void* ref) {
    if (Port* p = port(ref)) {
        std::lock_guard lock(mutex_);
        p->open = false;
    }
}

int32_t ClSerialLibrary::read(void* ref, uint8_t* buffer, uint32_t* size, uint32_t timeoutMs) {
    if (!size) return CL_ERR_INVALID_REFERENCE;
    Port* p = port(ref);
    if (!p || !buffer) {
        *size = 0;
        return CL_ERR_INVALID_REFERENCE;
    }
    const bool waits = env("ZR_SIM_CL_READ", "wait") != "now";
    auto& clock = SystemClock::instance();
    const uint32_t start = clock.tickMs();
    size_t count = p->model.hostRead(buffer, *size);
    while (count == 0 && waits && ticksSince(clock.tickMs(), start) < timeoutMs) {
        clock.sleepMs(1);
        count = p->model.hostRead(buffer, *size);
    }
    *size = static_cast<uint32_t>(count);
    return count == 0 && waits && timeoutMs > 0 ? CL_ERR_TIMEOUT : CL_ERR_NO_ERR;
}

int32_t ClSerialLibrary::write(void* ref, const uint8_t* buffer, uint32_t size) {
    Port* p = port(ref);
    if (!p || !buffer) return CL_ERR_INVALID_REFERENCE;
    p->model.hostWrite(buffer, size);
    return CL_ERR_NO_ERR;
}

int32_t ClSerialLibrary::setBaudRate(void* ref, uint32_t bit) {
    if (!port(ref)) return CL_ERR_INVALID_REFERENCE;
    // A pseudo-line: nothing to set, but the choice is checked as a grabber would.
    return (baudRateMask() & bit) == 0 ? CL_ERR_BAUD_RATE_NOT_SUPPORTED : CL_ERR_NO_ERR;
}

}  // namespace zr::sim
