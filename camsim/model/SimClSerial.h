#pragma once

#include <cstdint>

#include "link/ClSerialApi.h"
#include "model/CameraModel.h"

namespace zr::sim {

// Camera Link serial functions over in-process camera models, so the link
// worker drives the simulated camera exactly as it drives a grabber's library.
// Serial index i serves the model attached at i (nullptr detaches). Detach a
// model before destroying it, and only once no link uses its port.
// Reads return at once with what is due ("take what is there"); the time-outs
// are not waited for, so an injected clock alone decides timing.
const ClSerialFunctions& inProcessClFunctions();
void attachModel(uint32_t index, CameraModel* model);

inline constexpr uint32_t kInProcessPorts = 16;

// Port details the functions report, per index; reset by attachModel.
void setInProcessInitResult(uint32_t index, int32_t result);        // clSerialInit's result (0)
void setInProcessBaudRates(uint32_t index, uint32_t baudRateMask);  // 9600..115200: 0x1F
uint32_t inProcessBaudRate(uint32_t index);  // bit last set by clSetBaudRate, 0 if none
bool inProcessPortOpen(uint32_t index);      // between clSerialInit and clSerialClose

}  // namespace zr::sim
