// The Camera Link serial API over simulated cameras, loadable both as the
// common library (libclallserial.so) and as a frame grabber maker's library.
//
// Environment (read when the functions are called, so one process can try
// several set-ups):
//   ZR_SIM_CL_PORTS          number of ports, 0..64 (1)
//   ZR_SIM_CL_MANUFACTURERS  manufacturer names by port, ';'-separated; the
//                            last one serves the ports after it ("camsim")
//   ZR_SIM_CL_PORT_IDS       port identifiers by port, the same way ("camsim#<index>")
//   ZR_SIM_CL_BAUD_MASK      supported baud-rate bits, decimal or 0x.. (0x1F)
//   ZR_SIM_CL_INIT_RESULT    clSerialInit's result (0); negative opens nothing,
//                            positive opens the port with a warning
//   ZR_SIM_CL_OPTIONS        camera behaviour and fault options, as the
//                            zrk880_camsim program takes them ("--nak --delay 200");
//                            applied at each clSerialInit; a bad one makes
//                            clSerialInit fail (CL_ERR_INVALID_INDEX, reason on stderr)
//   ZR_SIM_CL_LOG            file to which each received frame's 10 command
//                            characters are appended, one line each, " BAD"
//                            added when its checksum or framing was wrong
//   ZR_SIM_CL_READ           "wait" (default): a read waits up to its time-out
//                            for the first byte; "now": it returns at once
//
// Built a second time without clSerialClose (ZR_SIM_CL_WITHOUT_CLOSE) as
// libclser_incomplete.so, a library that lacks a function.
#include <type_traits>

#include "clserial/ClSerialLibrary.h"
#include "link/ClSerialApi.h"
#include "model/ClErrors.h"

#define ZR_CL_EXPORT __attribute__((visibility("default")))

using namespace zr::sim;

extern "C" {

ZR_CL_EXPORT int32_t clSerialInit(uint32_t serialIndex, void** serialRefPtr) {
    return ClSerialLibrary::instance().open(serialIndex, serialRefPtr);
}

ZR_CL_EXPORT int32_t clSerialRead(void* serialRef, int8_t* buffer, uint32_t* bufferSize,
                                  uint32_t serialTimeout) {
    return ClSerialLibrary::instance().read(serialRef, reinterpret_cast<uint8_t*>(buffer),
                                            bufferSize, serialTimeout);
}

ZR_CL_EXPORT int32_t clSerialWrite(void* serialRef, int8_t* buffer, uint32_t* bufferSize,
                                   uint32_t /*serialTimeout*/) {
    if (!bufferSize) return CL_ERR_INVALID_REFERENCE;
    return ClSerialLibrary::instance().write(serialRef, reinterpret_cast<const uint8_t*>(buffer),
                                             *bufferSize);
}

#ifndef ZR_SIM_CL_WITHOUT_CLOSE
ZR_CL_EXPORT void clSerialClose(void* serialRef) {
    ClSerialLibrary::instance().close(serialRef);
}
#endif

ZR_CL_EXPORT int32_t clGetNumPorts(uint32_t* numPorts) {
    if (!numPorts) return CL_ERR_INVALID_REFERENCE;
    *numPorts = ClSerialLibrary::instance().portCount();
    return CL_ERR_NO_ERR;
}

ZR_CL_EXPORT int32_t clGetPortInfo(uint32_t serialIndex, int8_t* manufacturerName,
                                   uint32_t* nameBytes, int8_t* portId, uint32_t* idBytes,
                                   uint32_t* version) {
    auto& library = ClSerialLibrary::instance();
    if (serialIndex >= library.portCount()) return CL_ERR_INVALID_INDEX;
    if (version) *version = 3;  // the standard's version 1.1 value
    const int32_t nameResult =
        copyClText(library.manufacturer(serialIndex).c_str(), manufacturerName, nameBytes);
    const int32_t idResult = copyClText(library.portId(serialIndex).c_str(), portId, idBytes);
    return nameResult != CL_ERR_NO_ERR ? nameResult : idResult;
}

ZR_CL_EXPORT int32_t clGetSupportedBaudRates(void* serialRef, uint32_t* baudRates) {
    auto& library = ClSerialLibrary::instance();
    if (!baudRates || !library.port(serialRef)) return CL_ERR_INVALID_REFERENCE;
    *baudRates = library.baudRateMask();
    return CL_ERR_NO_ERR;
}

ZR_CL_EXPORT int32_t clSetBaudRate(void* serialRef, uint32_t baudRate) {
    return ClSerialLibrary::instance().setBaudRate(serialRef, baudRate);
}

ZR_CL_EXPORT int32_t clGetErrorText(const int8_t* /*manuName*/, int32_t errorCode,
                                    int8_t* errorText, uint32_t* errorTextSize) {
    return copyClErrorText(errorCode, errorText, errorTextSize);
}

}  // extern "C"

// The exported functions must match the API's types.
static_assert(std::is_same_v<decltype(&clSerialInit), clSerialInit_t>);
static_assert(std::is_same_v<decltype(&clSerialRead), clSerialRead_t>);
static_assert(std::is_same_v<decltype(&clSerialWrite), clSerialWrite_t>);
static_assert(std::is_same_v<decltype(&clGetNumPorts), clGetNumPorts_t>);
static_assert(std::is_same_v<decltype(&clGetPortInfo), clGetPortInfo_t>);
static_assert(std::is_same_v<decltype(&clGetSupportedBaudRates), clGetSupportedBaudRates_t>);
static_assert(std::is_same_v<decltype(&clSetBaudRate), clSetBaudRate_t>);
static_assert(std::is_same_v<decltype(&clGetErrorText), clGetErrorText_t>);
