#include "model/SimClSerial.h"

#include <array>
#include <cstdio>
#include <mutex>

#include "model/ClErrors.h"

namespace zr::sim {

namespace {

struct Port {
    CameraModel* model = nullptr;
    int32_t initResult = CL_ERR_NO_ERR;
    uint32_t baudMask = 0x1F;
    uint32_t baudBit = 0;
    bool open = false;
};

std::mutex portsMutex;
std::array<Port, kInProcessPorts> ports;

Port* portOf(void* ref) {
    for (auto& port : ports) {
        if (&port == ref) return &port;
    }
    return nullptr;
}

CameraModel* modelOf(void* ref) {
    std::lock_guard lock(portsMutex);
    Port* port = portOf(ref);
    return port && port->open ? port->model : nullptr;
}

extern "C" {

int32_t simInit(uint32_t index, void** ref) {
    if (!ref) return CL_ERR_INVALID_REFERENCE;
    std::lock_guard lock(portsMutex);
    if (index >= kInProcessPorts || !ports[index].model) return CL_ERR_INVALID_INDEX;
    Port& port = ports[index];
    if (port.initResult < 0) return port.initResult;
    port.open = true;
    *ref = &port;
    return port.initResult;
}

int32_t simRead(void* ref, int8_t* buffer, uint32_t* size, uint32_t) {
    if (!size) return CL_ERR_INVALID_REFERENCE;
    CameraModel* model = modelOf(ref);
    if (!model) {
        *size = 0;
        return CL_ERR_INVALID_REFERENCE;
    }
    *size = static_cast<uint32_t>(model->hostRead(reinterpret_cast<uint8_t*>(buffer), *size));
    return CL_ERR_NO_ERR;
}

int32_t simWrite(void* ref, int8_t* buffer, uint32_t* size, uint32_t) {
    if (!size) return CL_ERR_INVALID_REFERENCE;
    CameraModel* model = modelOf(ref);
    if (!model) return CL_ERR_INVALID_REFERENCE;
    model->hostWrite(reinterpret_cast<const uint8_t*>(buffer), *size);
    return CL_ERR_NO_ERR;
}

void simClose(void* ref) {
    std::lock_guard lock(portsMutex);
    if (Port* port = portOf(ref)) port->open = false;
}

int32_t simNumPorts(uint32_t* count) {
    if (!count) return CL_ERR_INVALID_REFERENCE;
    std::lock_guard lock(portsMutex);
    uint32_t n = 0;
    for (uint32_t i = 0; i < kInProcessPorts; ++i) {
        if (ports[i].model) n = i + 1;
    }
    *count = n;
    return CL_ERR_NO_ERR;
}

int32_t simPortInfo(uint32_t index, int8_t* name, uint32_t* nameBytes, int8_t* id,
                    uint32_t* idBytes, uint32_t* version) {
    if (index >= kInProcessPorts) return CL_ERR_INVALID_INDEX;
    char portId[32];
    std::snprintf(portId, sizeof portId, "camsim%u", index);
    if (version) *version = 2;
    const int32_t nameResult = copyClText("camsim", name, nameBytes);
    const int32_t idResult = copyClText(portId, id, idBytes);
    return nameResult != CL_ERR_NO_ERR ? nameResult : idResult;
}

int32_t simBaudRates(void* ref, uint32_t* mask) {
    std::lock_guard lock(portsMutex);
    Port* port = portOf(ref);
    if (!port || !mask) return CL_ERR_INVALID_REFERENCE;
    *mask = port->baudMask;
    return CL_ERR_NO_ERR;
}

int32_t simSetBaud(void* ref, uint32_t bit) {
    std::lock_guard lock(portsMutex);
    Port* port = portOf(ref);
    if (!port) return CL_ERR_INVALID_REFERENCE;
    if ((port->baudMask & bit) == 0) return CL_ERR_BAUD_RATE_NOT_SUPPORTED;
    port->baudBit = bit;
    return CL_ERR_NO_ERR;
}

int32_t simErrorText(const int8_t*, int32_t code, int8_t* text, uint32_t* size) {
    return copyClErrorText(code, text, size);
}

}  // extern "C"

}  // namespace

const ClSerialFunctions& inProcessClFunctions() {
    static const ClSerialFunctions functions{
        .serialInit = simInit,
        .serialRead = simRead,
        .serialWrite = simWrite,
        .serialClose = simClose,
        .getNumPorts = simNumPorts,
        .getPortInfo = simPortInfo,
        .getSupportedBaudRates = simBaudRates,
        .setBaudRate = simSetBaud,
        .getErrorText = simErrorText,
    };
    return functions;
}

void attachModel(uint32_t index, CameraModel* model) {
    if (index >= kInProcessPorts) return;
    std::lock_guard lock(portsMutex);
    ports[index] = Port{};
    ports[index].model = model;
}

void setInProcessInitResult(uint32_t index, int32_t result) {
    if (index >= kInProcessPorts) return;
    std::lock_guard lock(portsMutex);
    ports[index].initResult = result;
}

void setInProcessBaudRates(uint32_t index, uint32_t baudRateMask) {
    if (index >= kInProcessPorts) return;
    std::lock_guard lock(portsMutex);
    ports[index].baudMask = baudRateMask;
}

uint32_t inProcessBaudRate(uint32_t index) {
    if (index >= kInProcessPorts) return 0;
    std::lock_guard lock(portsMutex);
    return ports[index].baudBit;
}

bool inProcessPortOpen(uint32_t index) {
    if (index >= kInProcessPorts) return false;
    std::lock_guard lock(portsMutex);
    return ports[index].open;
}

}  // namespace zr::sim
