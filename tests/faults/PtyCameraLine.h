#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "model/CameraModel.h"

namespace zr::test {

// The simulated camera behind a real pseudo-terminal, served by a thread of
// its own. The line can be pulled (as a USB adapter is): the master side and
// the spare slave close, so the link's descriptor sees a hang-up.
class PtyCameraLine {
  public:
    explicit PtyCameraLine(sim::CameraModel& camera);
    ~PtyCameraLine();
    PtyCameraLine(const PtyCameraLine&) = delete;
    PtyCameraLine& operator=(const PtyCameraLine&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    // Pulls the line as soon as the camera has taken in the bytes of this
    // read, before it can answer. Safe to call from the camera's frame
    // observer (the serving thread).
    void pullAfterThisRead() { pull_.store(true); }
    bool pulled() const { return pulled_.load(); }
    // Nothing on its way in either direction: no byte unread on either side
    // of the line, none being served, no reply held by the camera. A pulled
    // line is quiet.
    bool quiet();

  private:
    void serve();
    void closeLine();

    sim::CameraModel& camera_;
    // Guards the two descriptors against quiet() while the line is pulled;
    // the serving thread alone reads and writes through them otherwise.
    std::mutex fdMutex_;
    int master_ = -1;
    int spare_ = -1;
    std::string slavePath_;
    std::atomic<bool> pull_{false};
    std::atomic<bool> pulled_{false};
    std::atomic<bool> stop_{false};
    std::atomic<bool> serving_{false};
    std::thread thread_;
};

}  // namespace zr::test
