#pragma once

#include <string>

#include "model/CameraModel.h"

namespace zr::sim {

// Appends a received frame's 10 command characters to a text file, one line
// each, with " BAD" added when its checksum or framing was wrong. Lets a test
// see what a simulator in another process or library received.
void appendFrameLog(const std::string& path, const ReceivedFrame& frame);

}  // namespace zr::sim
