#pragma once

#include <cstdint>

#include "link/ClSerialApi.h"
#include "model/CameraModel.h"

namespace zr::sim {

// Camera Link serial functions over in-process camera models, so the link
// worker drives the simulated camera exactly as it drives a grabber's library.
// Serial index i serves the model attached at i (nullptr detaches).
const ClSerialFunctions& inProcessClFunctions();
void attachModel(uint32_t index, CameraModel* model);

}  // namespace zr::sim
