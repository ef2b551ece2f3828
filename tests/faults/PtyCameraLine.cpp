#include "PtyCameraLine.h"

#include <chrono>
#include <stdexcept>

namespace zr::test {

PtyCameraLine::PtyCameraLine(sim::CameraModel& camera) : server_(camera, 0) {
    // The camera runs on the test's clock: look at it every real millisecond.
    server_.setModelPoll(std::chrono::milliseconds(1));
    std::string error;
    if (!server_.open(error) || !server_.start(error)) throw std::runtime_error(error);
}

}  // namespace zr::test
