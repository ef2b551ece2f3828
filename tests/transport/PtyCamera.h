#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "model/CameraModel.h"

namespace zr::test {

// The simulated camera behind a real pseudo-terminal: the test opens the slave
// side (through a COMn entry) as its COM port, a thread serves the model on the
// master side. The line settings belong to the slave; the master never touches
// them. A spare slave descriptor is kept open, so that the master does not see
// a hang-up while the link has the port closed, and so the test can look at
// the line settings the link applied.
class PtyCamera {
  public:
    explicit PtyCamera(sim::CameraModel& model);
    ~PtyCamera();
    PtyCamera(const PtyCamera&) = delete;
    PtyCamera& operator=(const PtyCamera&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    int spareSlave() const { return spare_; }
    // The device disappears: serving stops and both of our sides close, so the
    // link's descriptor is left on a hung-up terminal.
    void vanish();
    // Bytes moved host -> camera so far.
    size_t bytesFromHost() const { return fromHost_.load(); }

  private:
    void serve();

    sim::CameraModel& model_;
    int master_ = -1;
    int spare_ = -1;
    std::string slavePath_;
    std::atomic<bool> stop_{false};
    std::atomic<size_t> fromHost_{0};
    std::thread thread_;
};

}  // namespace zr::test
