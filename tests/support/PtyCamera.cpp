#include "support/PtyCamera.h"

#include <chrono>
#include <stdexcept>

namespace zr::test {

PtyCamera::PtyCamera(sim::CameraModel& model) : server_(model, 0) {
    // The model runs on the test's (scaled) clock: look at it every real
    // millisecond rather than sleeping until a reply is due by the wall clock.
    server_.setModelPoll(std::chrono::milliseconds(1));
    std::string error;
    if (!server_.open(error) || !server_.start(error)) throw std::runtime_error(error);
}

void PtyCamera::vanish() {
    server_.stop();
    server_.closeLine();
}

}  // namespace zr::test
