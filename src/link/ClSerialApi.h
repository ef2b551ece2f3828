#pragma once

#include <cstdint>

// The Camera Link serial API as the standard declares it (clallserial and the
// frame grabber makers' serial libraries). Results are 32-bit signed; the
// serial reference is opaque; sizes are in/out; time-outs are milliseconds.
extern "C" {
using clSerialInit_t = int32_t (*)(uint32_t serialIndex, void** serialRefPtr);
using clSerialRead_t = int32_t (*)(void* serialRef, int8_t* buffer, uint32_t* bufferSize,
                                   uint32_t serialTimeout);
using clSerialWrite_t = int32_t (*)(void* serialRef, int8_t* buffer, uint32_t* bufferSize,
                                    uint32_t serialTimeout);
using clSerialClose_t = void (*)(void* serialRef);
using clGetNumPorts_t = int32_t (*)(uint32_t* numPorts);
using clGetPortInfo_t = int32_t (*)(uint32_t serialIndex, int8_t* manufacturerName,
                                    uint32_t* nameBytes, int8_t* portId, uint32_t* idBytes,
                                    uint32_t* version);
using clGetSupportedBaudRates_t = int32_t (*)(void* serialRef, uint32_t* baudRates);
using clSetBaudRate_t = int32_t (*)(void* serialRef, uint32_t baudRate);
using clGetErrorText_t = int32_t (*)(const int8_t* manuName, int32_t errorCode, int8_t* errorText,
                                     uint32_t* errorTextSize);
}

namespace zr {

// Baud-rate bits of the standard.
enum : uint32_t {
    CL_BAUDRATE_9600 = 1,
    CL_BAUDRATE_19200 = 2,
    CL_BAUDRATE_38400 = 4,
    CL_BAUDRATE_57600 = 8,
    CL_BAUDRATE_115200 = 16,
};

// Sizes and time-outs the link uses with these calls.
inline constexpr uint32_t kClReadSize = 100;
inline constexpr uint32_t kClReadTimeoutMs = 10;
inline constexpr uint32_t kClFirstWriteTimeoutMs = 1000;
inline constexpr uint32_t kClResendTimeoutMs = 0;
inline constexpr uint32_t kClReplyTimeoutMs = 1;

// The functions of one loaded library. A maker's library fills only the
// first four; the common library fills all.
struct ClSerialFunctions {
    clSerialInit_t serialInit = nullptr;
    clSerialRead_t serialRead = nullptr;
    clSerialWrite_t serialWrite = nullptr;
    clSerialClose_t serialClose = nullptr;
    clGetNumPorts_t getNumPorts = nullptr;
    clGetPortInfo_t getPortInfo = nullptr;
    clGetSupportedBaudRates_t getSupportedBaudRates = nullptr;
    clSetBaudRate_t setBaudRate = nullptr;
    clGetErrorText_t getErrorText = nullptr;
};

// Baud rate in bit/s to the standard's bit: 9600, 19200, 38400, anything else 115200.
uint32_t clBaudBitFor(int baudRate);

}  // namespace zr
